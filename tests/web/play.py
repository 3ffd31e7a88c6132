#!/usr/bin/python3
# End to end in the browser: the game's page in headless Chromium (scripts/chromium.py), played
# with real key events, each screen compared with the README's pictures as tests/e2e/play.sh
# compares the native window's, in the games of tests/games.txt; before them, the whole board in a
# 500 by 500 window, and the window made 600 by 700, where the canvas is 600 by 600 again. Exits 77
# (skipped) where Chromium cannot start; fails on anything else. FIZZGRID_TIMEOUT_MULTIPLIER scales
# every wait. It also counts the frames that reach the screen during every wave, checks the swayed
# wave's frame, and that a hidden page does not tick. Usage: play.py PAGE.html
import base64
import io
import os
import sys

from PIL import Image, ImageChops, ImageFilter

import board
from board import Failure, chromium, until

SHOTS = os.path.join(os.path.dirname(__file__), '../../docs/screenshots')


def unlike(got, name):
    """Why a screen is not like the picture NAME, or '' when it is.

    SwiftShader rasterizes a little differently from Mesa's llvmpipe, which drew the pictures (the
    README's rule): the tile sides that lie within 0.02 px of the centres of row 304 and column 295
    fall on the other side of them, a whole line each; elsewhere, measured on every picture, at
    most 31 silhouette pixels differ by more than 8 levels of 255, and the winner's shading by
    more than 4 in 74. With the camera swayed (the wave), slanted tile sides put 162 pixels all over
    on the other side of an edge: there a pixel counts by how far it lies outside the values of
    the picture's 3 by 3 pixels around it (measured: 1 by more than 8)."""
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


def check_waves(page):
    """Fails unless every animation frame shows at most one tick's frame, and every run of frames
    drawn by ticks is a chain of waves of 19 ticks each and the tick that brings the camera back
    to rest (natively, one frame per vertical retrace)."""
    log = page.js('return fizzgridFrames.log')
    if max(log) > 1:
        raise Failure(f'{max(log)} ticks drew within one animation frame')
    runs = [len(run) for run in ''.join('1' if n else ' ' for n in log).split()]
    if not runs or any(run < 20 or (run - 1) % 19 for run in runs):
        raise Failure(f'waves shown over {runs} animation frames, not 19 each and 1 at rest')


def kept_frame(page, number):
    url = page.js('return fizzgridFrames.keep[arguments[0]]', number)
    if not url:
        raise Failure(f'the frame of tick {number} never reached the screen')
    return Image.open(io.BytesIO(base64.b64decode(url.split(',', 1)[1]))).convert('RGB')


def hidden_runs_no_tick(page, send):
    """Sends the keys of a bursting move with the window minimized (headless Chromium then hides
    the page: no animation frames, timers still run) and fails if any tick draws while it is."""
    browser, before = page.browser, page.call('fizzgridTickFrames')
    browser.minimize_window()
    until(lambda: page.js('return document.hidden'), 'a hidden page')
    send()
    # Nothing shows while hidden, so nothing to wait for: half a second of the page's timers.
    browser.execute_async_script('setTimeout(arguments[0], 500)')
    if page.call('fizzgridTickFrames') != before:
        raise Failure('the game ticked in a hidden page')
    window = browser.execute_cdp_cmd('Browser.getWindowForTarget', {})['windowId']
    browser.execute_cdp_cmd('Browser.setWindowBounds',
                            {'windowId': window, 'bounds': {'windowState': 'normal'}})
    until(lambda: not page.js('return document.hidden'), 'the page shown again')


def play(browser, url):
    chromium.emulate(browser, 500, 500)
    page = board.Page(browser, url)
    if browser.title != 'Fizzgrid -- Quillon Final Project':
        raise Failure(f'title {browser.title}')
    icon = page.js("return document.querySelector('link[rel=icon]').href")
    with open(os.path.join(os.path.dirname(__file__), '../../data/fizzgrid.svg'), 'rb') as art:
        if base64.b64decode(icon.partition('base64,')[2]) != art.read():
            raise Failure(f'the icon in the tab is not the artwork: {icon[:80]}')
    left, top, width, height, _, _ = page.box()
    if left < 0 or top < 0 or left + width > 500 or top + height > 500:
        raise Failure(f'the canvas at {left},{top} of {width}x{height} in a 500x500 window')
    board.tiles(page)  # all 64 tiles, none cut by the canvas's edge
    chromium.emulate(browser, 600, 700)
    until(lambda: page.box()[2:] == [600, 600, 600, 600], 'a 600 by 600 canvas')
    # Scrollable and taller than the window, so that a key left to the browser would scroll it.
    page.js("document.documentElement.style.overflow = 'auto';"
            "document.documentElement.appendChild(document.createElement('div')).style.height ="
            "'3000px'")
    if not page.js('return document.activeElement === arguments[0]', page.canvas):
        raise Failure('the canvas does not have the keyboard')

    def show(what, name):  # polls the canvas until it shows the picture NAME
        why = ['']

        def like():
            why[0] = unlike(page.shot(), name)
            return not why[0]

        try:
            page.waits(like, what)
        except Failure as failure:
            raise Failure(f'{failure}: {why[0]}') from None

    page.js(FRAME_LOG)
    show('the starting board, drawn again at 600 by 600', 'start')
    steps = list(board.games())
    for n, (step, *args) in enumerate(steps):
        if step == 'show':
            show(args[1], args[0])
            continue
        shown = next(later[1] for later in steps[n:] if later[0] == 'show')
        if shown == 'player2-wins':  # a bursting move, made while the page is hidden
            hidden_runs_no_tick(page, lambda: page.keys(*args[0]))
        elif shown == 'progress':  # the README's wave is the 8th tick of this move's one wave
            wave = page.call('fizzgridTickFrames') + 8
            page.js('fizzgridFrames.want.add(arguments[0])', wave)
            page.keys(*args[0])
        else:
            page.keys(*args[0])
        scrolled = page.js('return `${scrollX},${scrollY}`')
        if scrolled != '0,0':
            raise Failure(f'the keys scrolled the page to {scrolled}')
    check_waves(page)
    if why := unlike(kept_frame(page, wave), 'wave'):
        raise Failure(f"the wave was not the README's: {why}")
    page.keys('q')
    until(lambda: page.state() == 'ended' and 'has ended. Reload' in
          page.js('return document.body.innerText'), 'the end of the game after q')


if __name__ == '__main__':  # site.py imports unlike
    board.run(lambda browser: play(browser, chromium.page_url(sys.argv[1])))
