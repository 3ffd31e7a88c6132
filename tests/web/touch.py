#!/usr/bin/python3
# The page on devices of DevTools' emulation, by real taps and clicks on the tiles the screen shows,
# one PART of it a test: phone, tiles or tablet (see each). Usage: touch.py PAGE PART
import sys

from board import (WAVE, Failure, Page, chromium, games, hue, image, in_vain, picture, run, same,
                   tiles, until)


def phone(browser):  # the games tapped against the same by keys, the context lost, a raised tile
    chromium.emulate(browser, 390, 844, 3, True)
    steps = [step for step in games.steps() if step[0] != 'wave']
    keyed = Page(browser)
    shots = [keyed.settled() if step == 'show' else keyed.keys(*args[0]) for step, *args in steps]
    page = Page(browser)
    cells, (left, top, width, height) = tiles(page)[0], page.box()[:4]
    for n, (step, *args) in enumerate(steps):
        if n == 3:  # the first win tapped while the WebGL context is lost, shown once it is back
            page.js("(window.loser = document.querySelector('canvas').getContext('webgl')"
                    ".getExtension('WEBGL_lose_context')).loseContext()")
            until(lambda: page.js('return document.body.dataset.context') == 'lost', 'the loss')
        for cell in args[1] if step == 'keys' else []:
            page.tap(cells[cell] if cell else (left + width / 2, top + height / 2))
        if n == 3:
            page.js('loser.restoreContext()')
        if step == 'show':
            until(lambda: same(page.shot(), shots[n]), f'{args[1]}, as played by keys')
    until(lambda: same(page.shot(0, 0, 390, 844), picture('phone')), "the README's phone picture")
    # The raised tile (5,3), 3 orbs, drawn over the lower (6,3), empty, is the one tapped there.
    (left, y), right = cells[5, 3], cells[6, 3][0]  # inside each, upright or raised
    strip = page.shot(left, y, right - left, 1, scale=1 / 3).getdata()  # a pixel per CSS pixel
    meet = max(k for k, colour in enumerate(strip) if hue(colour) == 'G')
    if 'dark' in [hue(colour) for colour in strip][meet:]:
        raise Failure('the raised tile (5,3) does not meet its neighbour (6,3) on the screen')
    page.tap((left + meet - 1, y))
    until(lambda: page.hue(left + meet - 1, y) == 'B', "player 2's cursor on the raised tile")


def tour(page, act):  # one tap or click (ACT) on each tile takes player 1's cursor there
    cells, gaps = tiles(page)
    for x in range(8):
        for y in range(8) if x % 2 == 0 else range(7, -1, -1):
            act(cells[x, y])
            until(lambda: page.hue(*cells[x, y]) == 'R', f'the cursor on the tile {x},{y} hit')
    return cells, gaps


def tiles_test(browser):  # each tile by a tap; taps in vain: gaps, edges, swipes, 2 fingers, waves
    chromium.emulate(browser, 390, 844, 3, True)
    page = Page(browser)
    cells, gaps = tour(page, lambda point: page.tap(point, (point[0] + 3, point[1] + 2)))
    page.tap(cells[3, 3])
    until(lambda: page.hue(*cells[3, 3]) == 'R', 'the cursor on 3,3')
    left, top, width, height = page.box()[:4]
    # Off the board, in the gaps; from the cursor's tile a hop over the gap to (4,3), shorter than
    # a finger's wobble, and a swipe within the cursor's tile, longer.
    taps = [(point,) for point in gaps] + [(
        (left + 1 + (width - 2) * i / 2, top + 1 + (height - 2) * j / 2),)
        for i in range(3) for j in range(3) if i != 1 or j != 1]
    (x, y), mid = cells[3, 3], (cells[3, 3][0] + cells[4, 3][0]) / 2
    taps += [((mid - 4.5, y), (mid + 4.5, y)), ((x, y), (x + 15, y))]
    in_vain(page, 'a tap in vain', lambda: [page.tap(*points) for points in taps])
    chromium.emulate(browser, 844, 390, 3, True)  # the phone turned
    until(lambda: page.box()[1] + page.box()[3] <= 390, 'the board of the turned phone')
    cells = tiles(page)[0]
    for kind, fingers in [('touchStart', 1), ('touchStart', 2), ('touchEnd', 1), ('touchEnd', 0)]:
        page.touch(kind, *[(*cells[2, 2], 0), (*cells[5, 5], 1)][:fingers])  # a second finger
    until(lambda: page.hue(*cells[2, 2]) == 'R', 'the cursor on 2,2 after a tap with two fingers')
    for cell in [(0, 0)] * 2 + [(7, 7)] * 2:
        page.tap(cells[cell])
    # 1 on (0,0), then 2 on (7,7), bursts, each wave held still: a tap within the first, and a touch
    # begun in the second and ended after it, do nothing.
    for cell, touch in [((0, 0), lambda: page.tap(cells[3, 3])),
                        ((7, 7), lambda: page.touch('touchStart', (*cells[3, 3], 0)))]:
        page.tap(cells[cell])
        page.js('fizzgridProbe.hold = true')
        page.tap(cells[cell])
        until(lambda: page.js('return Module._fizzgridPhase()') in WAVE, 'the wave begun')
        touch()
        page.js('fizzgridProbe.hold = false')
        page.settled()
        if page.hue(*cells[3, 3]) != 'grey':
            raise Failure('a tap in a wave moved the cursor')
    in_vain(page, 'a touch begun in a wave', lambda: page.touch('touchEnd'))


def devices(browser):  # each tile by a click on a tablet; a phone and a laptop: sharp, their help
    chromium.emulate(browser, 1180, 820, 2, True)
    page = Page(browser)
    tour(page, lambda point: [browser.execute_cdp_cmd('Input.dispatchMouseEvent', {
        'type': kind, 'x': point[0], 'y': point[1], 'button': 'left', 'clickCount': 1})
        for kind in ['mouseMoved', 'mousePressed', 'mouseReleased']])  # a click
    for device, help in [((412, 915, 2.625, True), ['Tap']), ((1280, 800, 1.5), ['Tap', 'Arrows'])]:
        chromium.emulate(browser, *device)
        page = Page(browser)
        # The buffer is the canvas's device pixels, from a whole one, shown as drawn.
        (left, top, width, height, across, down), dpr = page.box(), device[2]
        if [across, down, left * dpr % 1, top * dpr % 1] != [width * dpr, height * dpr, 0, 0]:
            raise Failure(f'a canvas of {across}x{down} pixels at {left},{top}, {width}x{height}')
        drawn = image(page.js("const c = document.querySelector('canvas'), key = 'ArrowUp';"
                              "c.dispatchEvent(new KeyboardEvent('keydown', {key, keyCode: 38}));"
                              'return c.toDataURL()'))
        if not same(page.shot(), drawn):
            raise Failure(f'the canvas resampled on the screen at a device pixel ratio of {dpr}')
        line = page.js("return document.getElementById('status').textContent")
        if [word for word in ['Tap', 'Arrows'] if word in line] != help:
            raise Failure(f'the help at {device}: {line}')


# The tablet's browser has a mouse and a touch screen, as a touch laptop has: without DevTools'
# touch emulation (which shows a phone's or a tablet's touch screen alone), it is such a laptop.
run({'phone': phone, 'tiles': tiles_test, 'tablet': devices}[sys.argv[2]], flags=[
    '--blink-settings=availablePointerTypes=6,availableHoverTypes=3'] * (sys.argv[2] == 'tablet'))
