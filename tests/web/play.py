#!/usr/bin/python3
# End to end in the browser: the game's page in headless Chromium (scripts/chromium.py), played
# with real key events, each screen compared with the README's pictures as tests/e2e/play.sh
# compares the native window's. Exits 77 (skipped) where Chromium cannot start; fails on anything
# else. FIZZGRID_TIMEOUT_MULTIPLIER scales every wait. Usage: play.py PAGE.html
import base64
import io
import os
import sys
import time

from PIL import Image, ImageChops, ImageFilter
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '../../scripts'))
import chromium

SHOTS = os.path.join(os.path.dirname(__file__), '../../docs/screenshots')
WAIT = 5 * chromium.TIME_SCALE  # seconds
ARROWS = {'Left': Keys.ARROW_LEFT, 'Right': Keys.ARROW_RIGHT, 'Up': Keys.ARROW_UP,
          'Down': Keys.ARROW_DOWN}


class Failure(Exception):
    pass


def unlike(shot, name):
    """Why a screen is not like the picture NAME, or '' when it is.

    SwiftShader rasterizes a little differently from Mesa's llvmpipe, which drew the pictures (the
    README's rule): the tile sides that lie within 0.02 px of the centres of row 304 and column 295
    fall on the other side of them, a whole line each; elsewhere, measured on every picture, at
    most 31 silhouette pixels differ by more than 8 levels of 255, and the winner's shading by
    more than 4 in 74. With the camera swayed (the wave), slanted tile sides put 162 pixels all over
    on the other side of an edge: there a pixel counts by how far it lies outside the values of
    the picture's 3 by 3 pixels around it (measured: 1 by more than 8)."""
    got = Image.open(io.BytesIO(shot)).convert('RGB')
    if got.size != (600, 600):
        return f'size {got.size}'
    want = Image.open(os.path.join(SHOTS, name + '.png')).convert('RGB')
    if name == 'wave':
        low, high = want.filter(ImageFilter.MinFilter(3)), want.filter(ImageFilter.MaxFilter(3))
        off = ImageChops.lighter(ImageChops.subtract(low, got), ImageChops.subtract(got, high))
    else:
        off = ImageChops.difference(got, want)
    red, green, blue = off.split()
    worst = ImageChops.lighter(ImageChops.lighter(red, green), blue)  # each pixel's worst channel
    if name != 'wave':
        worst.paste(0, (295, 0, 296, 600))
        worst.paste(0, (0, 304, 600, 305))
    levels = worst.histogram()
    over4, over8 = sum(levels[5:]), sum(levels[9:])
    if over8 <= 40 and over4 <= 120:
        return ''
    return f'{over8} pixels differ by more than 8 levels (40 may), {over4} by more than 4 (120 may)'


# What reaches the screen: web/swap.cpp runs the game's idle once per animation frame and counts
# the frames its ticks hand over (fizzgridTickFrames). A loop of the test's own logs, in every
# animation frame, how many ticks drew since the one before, and keeps the canvas of the frames
# asked for (toDataURL there and then, before the browser presents and clears it).
FRAME_LOG = """
  const f = window.fizzgridFrames = {log: [], seen: Module._fizzgridTickFrames(), keep: {},
                                     want: new Set()};
  (function frame() {
    const now = Module._fizzgridTickFrames();
    f.log.push(now - f.seen);
    if (now > f.seen && f.want.has(now)) f.keep[now] = fizzgridPage.canvas.toDataURL();
    f.seen = now;
    requestAnimationFrame(frame);
  })();"""


def tick_frames(browser):
    return browser.execute_script('return Module._fizzgridTickFrames()')


def check_waves(browser):
    """Fails unless every animation frame shows at most one tick's frame, and every run of frames
    drawn by ticks is a chain of waves of 19 ticks each and the tick that brings the camera back
    to rest (natively, one frame per vertical retrace)."""
    log = browser.execute_script('return fizzgridFrames.log')
    if max(log) > 1:
        raise Failure(f'{max(log)} ticks drew within one animation frame')
    runs = [len(run) for run in ''.join('1' if n else ' ' for n in log).split()]
    if not runs or any(run < 20 or (run - 1) % 19 for run in runs):
        raise Failure(f'waves shown over {runs} animation frames, not 19 each and 1 at rest')


def want_frames(browser, first, last):
    browser.execute_script('for (let n = arguments[0]; n <= arguments[1]; n++) '
                           'fizzgridFrames.want.add(n)', first, last)


def kept_frame(browser, number):
    url = browser.execute_script('return fizzgridFrames.keep[arguments[0]]', number)
    if not url:
        raise Failure(f'the frame of tick {number} never reached the screen')
    return base64.b64decode(url.split(',', 1)[1])


def hidden_runs_no_tick(browser, send):
    """Sends the keys of a bursting move with the window minimized (headless Chromium then hides
    the page: no animation frames, timers still run) and fails if any tick draws while it is."""
    before = tick_frames(browser)
    browser.minimize_window()
    until(lambda: browser.execute_script('return document.hidden'), 'a hidden page')
    send()
    # Nothing shows while hidden, so nothing to wait for: half a second of the page's timers.
    browser.execute_async_script('setTimeout(arguments[0], 500)')
    if tick_frames(browser) != before:
        raise Failure('the game ticked in a hidden page')
    window = browser.execute_cdp_cmd('Browser.getWindowForTarget', {})['windowId']
    browser.execute_cdp_cmd('Browser.setWindowBounds',
                            {'windowId': window, 'bounds': {'windowState': 'normal'}})
    until(lambda: not browser.execute_script('return document.hidden'), 'the page shown again')


def play(browser, page):
    browser.get(page)
    state = lambda: browser.execute_script('return document.body.dataset.game')
    until(lambda: state() == 'running', 'the game started')
    # Scrollable and taller than the window, so that a key left to the browser would scroll it.
    browser.execute_script("document.documentElement.style.overflow = 'auto';"
                           "document.body.style.minHeight = '3000px'")
    if browser.title != 'Fizzgrid -- Quillon Final Project':
        raise Failure(f'title {browser.title}')
    canvas = browser.find_element('css selector', 'canvas')
    size = browser.execute_script('const c = arguments[0], r = c.getBoundingClientRect();'
                                  'return `${c.width}x${c.height} ${r.width}x${r.height}`', canvas)
    if size != '600x600 600x600':
        raise Failure(f'canvas {size}')
    if not browser.execute_script('return document.activeElement === arguments[0]', canvas):
        raise Failure('the canvas does not have the keyboard')
    browser.execute_script(FRAME_LOG)

    def show(what, name):  # polls the canvas until it shows the picture NAME
        end = time.monotonic() + WAIT
        while why := unlike(canvas.screenshot_as_png, name):
            if time.monotonic() > end:
                raise Failure(f'the page never showed {what}: {why}')

    def keys(*names):
        ActionChains(browser).send_keys(*[ARROWS.get(key, key) for key in names]).perform()
        scrolled = browser.execute_script('return `${scrollX},${scrollY}`')
        if scrolled != '0,0':
            raise Failure(f'the keys scrolled the page to {scrolled}')

    cursor = [4, 4]

    def place(*cells):  # the arrows from the cursor to each cell in turn, and Enter on it
        presses = []
        for x, y in cells:
            presses += ['Left'] * (cursor[0] - x) + ['Right'] * (x - cursor[0])
            presses += ['Down'] * (cursor[1] - y) + ['Up'] * (y - cursor[1]) + [Keys.ENTER]
            cursor[:] = [x, y]
        keys(*presses)

    def new_game():
        cursor[:] = [4, 4]
        keys(' ')

    show('the starting board', 'start')
    # An arrow too many at each edge; 1 on (0,0), 2 on (1,0), 1 refused there, 1 on (0,0): 1 wins.
    keys(*['Left'] * 5 + ['Down'] * 5)
    cursor[:] = [0, 0]
    show("player 1's cursor on (0,0)", 'cursor')
    place((0, 0), (1, 0), (1, 0), (0, 0))
    show("player 1's win", 'player1-wins')
    new_game()
    show('the starting board', 'start')
    # 1 on (0,1), 2 on (0,0), 1 on (0,1), 2 on (0,0): it bursts and takes 1's only cell: 2 wins.
    hidden_runs_no_tick(browser, lambda: place((0, 1), (0, 0), (0, 1), (0, 0)))
    show("player 2's win", 'player2-wins')
    new_game()
    # The README's wave is the 8th tick of this game's one wave, the camera swayed.
    wave = tick_frames(browser) + 8
    shots = os.environ.get('FIZZGRID_WAVE_SHOTS')  # a folder for the wave's frames, if wanted
    want_frames(browser, wave - 7 if shots else wave, wave + 12 if shots else wave)
    # The game of the README's first picture (bench/scenes.cpp), its last move a burst on (7,2).
    place((4, 4), (5, 4), (4, 4), (5, 4), (4, 4), (5, 3), (3, 4), (5, 3), (4, 5), (5, 3), (7, 2),
          (7, 1), (7, 2), (6, 5), (7, 2))
    show('the game in progress', 'progress')
    check_waves(browser)
    if why := unlike(kept_frame(browser, wave), 'wave'):
        raise Failure(f'the wave was not the README\'s: {why}')
    for n in range(wave - 7, wave + 13) if shots else []:
        with open(os.path.join(shots, f'frame{n - wave + 8:02}.png'), 'wb') as out:
            out.write(kept_frame(browser, n))
    keys('q')
    until(lambda: state() == 'ended' and 'has ended. Reload' in
          browser.find_element('tag name', 'body').text, 'the end of the game after q')


def until(holds, what):
    end = time.monotonic() + WAIT
    while not holds():
        if time.monotonic() > end:
            raise Failure(f'the page never showed {what}')


def main():
    page = chromium.page_url(sys.argv[1])
    browser = chromium.launch(800, 700)
    if browser is None:
        sys.exit(77)
    problem = ''
    try:
        play(browser, page)
    except Failure as failure:
        problem = str(failure)
    finally:
        errors = chromium.errors(browser)
        browser.quit()
    if errors:
        problem += f"{'; ' if problem else ''}the page's errors: {errors}"
    if problem:
        sys.exit(f'FAIL: {problem}')


main()
