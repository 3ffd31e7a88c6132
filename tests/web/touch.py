#!/usr/bin/python3
# The page on devices of DevTools' emulation, by real taps and clicks on the tiles the screen shows.
# Usage: touch.py PAGE PART; PART is one of
#   phone: 390x844 at 3: the games of tests/games.txt tapped, each screen the same game's by keys
#     there, the WebGL context lost and restored in the middle; in progress, the whole screen that
#     of docs/screenshots/phone.png;
#   tiles: on the phone, the 64 tiles each reached by one tap (the finger moved a little); taps in
#     the gaps and off the board; turned, a second finger and touches in waves: all in vain;
#   tablet: 1180x820 at 2: the 64 tiles each reached by one click.
import os
import sys

from PIL import Image

from board import ROOT, WAVE, Failure, Page, chromium, games, run, tiles, until


def lost(page, during):  # DURING() while the page's WebGL context is lost, then restored
    page.js("window.loser = document.querySelector('canvas').getContext('webgl')"
            ".getExtension('WEBGL_lose_context'); loser.loseContext()")
    until(lambda: 'restores its graphics' in page.js('return document.body.innerText'), 'the loss')
    during()
    page.js('loser.restoreContext()')


def phone(browser):
    chromium.emulate(browser, 390, 844, 3, True)
    steps = [step for step in games.steps() if step[0] != 'wave']
    keyed = Page(browser)
    shots = [keyed.settled() if step == 'show' else keyed.keys(*args[0]) for step, *args in steps]
    page = Page(browser)
    cells, (left, top, width, height) = tiles(page)[0], page.box()[:4]
    for n, (step, *args) in enumerate(steps):
        play = lambda: [page.tap(cells[c] if c else (left + width / 2, top + height / 2))  # noqa
                        for c in (args[1] if step == 'keys' else [])]
        if n == 1:  # the starting board comes back as it was
            lost(page, lambda: None)
            page.show(shots[0], 'the starting board after the context came back')
        lost(page, play) if n == 3 else play()  # and shows the move tapped while it was lost
        if step == 'show':
            page.show(shots[n], f'{args[1]}, as played by keys')
    want = Image.open(os.path.join(ROOT, 'docs/screenshots/phone.png')).convert('RGB')
    page.show(want, 'the page of docs/screenshots/phone.png', 0, 0, 390, 844)


def tour(page, act):
    """From where player 1's cursor is, one tap or click (ACT) on each tile in turn, each of which
    must take the cursor there: at the screen's pixels; the tiles and gaps."""
    if page.box()[4:6] != [page.box()[2] * page.js('return devicePixelRatio')] * 2:
        raise Failure(f"a drawing buffer not of the canvas's device pixels: {page.box()}")
    cells, gaps = tiles(page)
    for x in range(8):
        for y in range(8) if x % 2 == 0 else range(7, -1, -1):
            act(cells[x, y])
            until(lambda: page.hue(*cells[x, y]) == 'R', f'the cursor on the tile {x},{y} hit')
    return cells, gaps


def in_vain(page, touch, point):
    """Fails unless TOUCH draws nothing: a tap at POINT, on the tile next to player 1's cursor,
    then shows the frame of its one arrow once every touch before it has been taken."""
    drawn = page.js('return fizzgridProbe.clears')
    touch()
    page.tap(point)
    until(lambda: page.hue(*point) == 'R', 'the cursor moved by one tap after touches in vain')
    if page.js('return fizzgridProbe.clears') != drawn + 1:
        raise Failure('a touch that should do nothing drew a frame')


def in_wave(page, burst, touch, events):
    """A tap at BURST, on the cursor, bursts; the wave held still, TOUCH, whose EVENTS pointer
    events the page takes in it; then the wave goes on to its end."""
    until(lambda: page.hue(*burst) != 'grey', 'the cursor on the tile to burst')
    page.js('fizzgridProbe.hold = true')
    page.tap(burst)
    until(lambda: page.js('return Module._fizzgridPhase()') in WAVE, 'the wave begun')
    taken = page.js('return taken') + events
    touch()
    until(lambda: page.js('return taken') == taken, 'the touch taken')
    page.js('fizzgridProbe.hold = false')
    page.settled()


def tiles_test(browser):
    chromium.emulate(browser, 390, 844, 3, True)
    page = Page(browser)
    cells, gaps = tour(page, lambda point: page.tap(point, (point[0] + 3, point[1] + 2)))
    left, top, width, height = page.box()[:4]
    edges = [(left + 1 + (width - 2) * i / 2, top + 1 + (height - 2) * j / 2)
             for i in range(3) for j in range(3) if i != 1 or j != 1]
    in_vain(page, lambda: [page.tap(point) for point in gaps + edges], cells[7, 1])
    chromium.emulate(browser, 844, 390, 3, True)  # the phone turned
    until(lambda: page.box()[1] + page.box()[3] <= 390, 'the board of the turned phone')
    cells = tiles(page)[0]
    page.touch('touchStart', (*cells[2, 2], 0))  # a second finger down and up meanwhile
    page.touch('touchStart', (*cells[2, 2], 0), (*cells[5, 5], 1))
    page.touch('touchEnd', (*cells[2, 2], 0))
    page.touch('touchEnd')
    until(lambda: page.hue(*cells[2, 2]) == 'R', 'the cursor on 2,2 after a tap with two fingers')
    # 1 on (0,0), 2 on (7,7), 1 on (0,0) bursts, and 2 on (7,7). A tap within the first wave, and
    # a touch begun in the second and ended after it, do nothing.
    page.js("window.taken = 0; ['pointerdown', 'pointerup'].forEach(kind =>"
            'addEventListener(kind, () => taken++))')
    for cell in [(0, 0)] * 2 + [(7, 7)] * 2 + [(0, 0)]:
        page.tap(cells[cell])
    in_wave(page, cells[0, 0], lambda: page.tap(cells[3, 3]), 2)
    if (page.hue(*cells[0, 0]), page.hue(*cells[3, 3])) != ('B', 'grey'):
        raise Failure('a tap in a wave moved the cursor')
    page.tap(cells[7, 7])
    in_wave(page, cells[7, 7], lambda: page.touch('touchStart', (*cells[3, 3], 0)), 1)
    in_vain(page, lambda: page.touch('touchEnd'), cells[7, 6])


def tablet(browser):
    chromium.emulate(browser, 1180, 820, 2, True)
    page = Page(browser)
    tour(page, page.click)


run({'phone': phone, 'tiles': tiles_test, 'tablet': tablet}[sys.argv[2]])
