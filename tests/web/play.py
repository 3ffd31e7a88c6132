#!/usr/bin/python3
# The game's page in headless Chromium by keys: its title and tab icon; in a window 100 pixels
# taller than the game's, the games of tests/games.txt by real key events that never scroll the
# page, each screen (and the wave's frame as it reached the screen) like the README's picture; a
# hidden page draws nothing; F5, F11 and Tab not cancelled; q ends the game.
# Usage: play.py PAGE.html
import base64

from PIL import ImageChops, ImageFilter

import board
from board import SIZE, WAVE, Failure, chromium, until


def unlike(got, name):  # why a screen is not like docs/screenshots/NAME.png by the README's rule
    want = board.picture(name)
    if got.size != want.size:
        return f'size {got.size}'
    if name == 'wave':  # a pixel counts by how far it lies outside its 3 by 3 neighbours' values
        low, high = want.filter(ImageFilter.MinFilter(3)), want.filter(ImageFilter.MaxFilter(3))
        off = ImageChops.lighter(ImageChops.subtract(low, got), ImageChops.subtract(got, high))
    else:  # row 304 and column 295, where SwiftShader puts tile sides on the other side
        off = ImageChops.difference(got, want)
        off.paste(0, (295, 0, 296, SIZE))
        off.paste(0, (0, 304, SIZE, 305))
    levels = ImageChops.lighter(ImageChops.lighter(*off.split()[:2]), off.split()[2]).histogram()
    over4, over8 = sum(levels[5:]), sum(levels[9:])
    why = f'{over8} pixels differ by more than 8 levels (40 may), {over4} by 4 (120 may)'
    return why if over8 > 40 or over4 > 120 else ''


def like(page, name, what):  # waits until the canvas is like the picture NAME
    until(lambda: not unlike(page.shot(), name), what, lambda: unlike(page.shot(), name))


def play(browser):
    chromium.emulate(browser, SIZE, SIZE + 100)
    page = board.Page(browser)
    icon = page.js("return document.querySelector('link[rel=icon]').href").split(',')[1]
    art = board.source('data/fizzgrid.svg', '(?s).+')[0]  # the whole file
    if (browser.title, base64.b64decode(icon).decode()) != (board.TITLE, art):
        raise Failure(f'the title {browser.title}, or the icon, not the sources\'')
    # Taller than the window and scrollable, so that a key left to the browser would scroll it.
    page.js("document.documentElement.style.overflow = 'auto';"
            "document.body.appendChild(document.createElement('div')).style.height = '3000px'")
    steps = list(board.games.steps())
    for n, (step, *args) in enumerate(steps):
        if step == 'show':
            like(page, *args)
        elif step == 'wave':
            if why := unlike(board.image(until(lambda: page.js('return fizzgridProbe.kept'),
                                               'the wave')), args[1]):
                raise Failure(f"{args[2]}: not the README's: {why}")
        elif 'player2-wins' == next(later[1] for later in steps[n:] if later[0] == 'show'):
            # A burst in a minimized window, which headless Chromium hides: 0.5 s, a wave's time.
            page.browser.minimize_window()
            until(lambda: page.js('return document.hidden'), 'a hidden page')
            page.keys(*args[0])
            until(lambda: page.js('return Module._fizzgridPhase()') in WAVE, 'the wave begun')
            board.in_vain(page, 'the hidden page', lambda: browser.execute_async_script(
                'setTimeout(arguments[0], 500)'))  # the page's timers run all the same
            browser.maximize_window()  # and shown again
        else:
            if steps[n + 1][0] == 'wave':  # keeps the frame of that tick of the move's wave
                page.settled()
                page.js('fizzgridProbe.keep = fizzgridProbe.ticks + arguments[0]', steps[n + 1][1])
            page.keys(*args[0])
        if page.js('return scrollY') or not page.js('return document.activeElement.id'):
            raise Failure('the keys scrolled the page, or the canvas lost them')
    # Keys the game leaves keep their meaning in the browser: the page does not cancel them.
    kept = page.js("return [[116, 'F5'], [122, 'F11'], [9, 'Tab']].map(([keyCode, key]) =>"
                   "document.activeElement.dispatchEvent(new KeyboardEvent('keydown',"
                   '{key, keyCode, bubbles: true, cancelable: true})))')
    if kept != [True] * 3:
        raise Failure(f'F5, F11 and Tab kept from the browser as the game runs: {kept}')
    page.keys('q')
    until(lambda: page.js('return document.body.dataset.game') == 'ended' and 'has ended. Reload'
          in page.js('return document.body.innerText'), 'the end of the game after q')


if __name__ == '__main__':  # site.py imports like
    board.run(play)
