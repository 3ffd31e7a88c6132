#!/usr/bin/python3
# The page on a device of DevTools' emulation, by real taps or clicks on the tiles the screen shows.
# Usage: touch.py PAGE PART; PART: phone (390x844 at 3, taps, its WebGL context lost and restored)
# or tablet (1180x820 at 2, clicks), each screen equal to the game's by keys there; or tiles.
import sys

from board import Failure, Page, chromium, games, run, tiles, until


def lose_context(page, during):
    page.js("window.loser = arguments[0].getContext('webgl').getExtension('WEBGL_lose_context');"
            'loser.loseContext()', page.canvas)
    until(lambda: page.js('return document.body.dataset.context') == 'lost' and
          'restores its graphics' in page.js('return document.body.innerText'), 'the lost context')
    during()
    page.js('loser.restoreContext()')
    until(lambda: page.js('return document.body.dataset.context') is None, 'the restored context')


def device(browser, url, size, pointer):
    chromium.emulate(browser, *size, True)
    keyed = Page(browser, url)
    shots = [keyed.settled() if step == 'show' else keyed.keys(*args[0])
             for step, *args in games()]
    page = Page(browser, url)
    if page.box()[4:] != [round(page.box()[2] * size[2])] * 2:
        raise Failure(f'a drawing buffer of {page.box()[4:]} on a canvas of {page.box()[2]} px')
    act, (cells, _), moves = getattr(page, pointer), tiles(page), 0
    left, top, width, height, _, _ = page.box()
    for (step, *args), shot in zip(games(), shots):
        if step == 'show':
            page.show(shot, f'{args[1]}, as played by keys')
            continue
        play = lambda: [act(cells[c] if c else (left + width / 2, top + height / 2))  # noqa
                        for c in args[1]]
        if pointer == 'tap' and moves == 0:  # the starting board comes back as it was
            lose_context(page, lambda: None)
            page.show(shots[0], 'the starting board after the context came back')
        if pointer == 'tap' and moves == 1:  # and shows the move tapped while it was lost
            lose_context(page, play)
        else:
            play()
        moves += 1


def tour(page):  # from (4,4), one tap to each tile and back; then taps that change nothing
    cells, gaps = tiles(page)
    for cell in [cell for cell in sorted(cells) if cell != (4, 4)] + [(4, 4)]:
        page.tap(cells[cell])
        if (at := divmod(page.call('fizzgridCursor'), 8)) != cell:
            raise Failure(f'a tap on tile {cell} took the cursor to {at}')
    left, top, width, height, _, _ = page.box()
    edges = [(left + 1 + (width - 2) * i / 2, top + 1 + (height - 2) * j / 2)
             for i in range(3) for j in range(3) if i != 1 or j != 1]
    drawn = page.call('fizzgridFramesDrawn')
    for point in gaps + edges:
        page.tap(point)
    if page.call('fizzgridFramesDrawn') != drawn or page.call('fizzgridCursor') != 36:
        raise Failure('a tap in a gap or off the board changed the screen')
    return cells


def tiles_test(browser, url):  # each tile by one tap, upright and turned; taps that do nothing
    chromium.emulate(browser, 390, 844, 3, True)
    page = Page(browser, url)
    tour(page)
    chromium.emulate(browser, 844, 390, 3, True)  # the phone turned
    until(lambda: page.box()[4] == 3 * round(page.box()[2]), 'the buffer of the turned phone')
    cells = tour(page)
    page.touch('touchStart', (*cells[2, 2], 0))  # a second finger down and up meanwhile
    page.touch('touchStart', (*cells[2, 2], 0), (*cells[5, 5], 1))
    page.touch('touchEnd', (*cells[2, 2], 0))
    page.touch('touchEnd')
    if (at := divmod(page.call('fizzgridCursor'), 8)) != (2, 2):
        raise Failure(f'two fingers on (2,2) and (5,5) took the cursor to {at}')
    # 1 on (0,0), 2 on (7,7), 1 on (0,0) bursts, and 2 on (7,7). A tap within the first wave, and
    # a touch begun in the second and ended after it, do nothing. The page is slowed down so that
    # a wave (19 animation frames) surely outlasts a tap sent over DevTools on a loaded machine,
    # and the game's phase is read as the page takes each touch (after its own listener).
    browser.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 20})
    page.js("window.phases = []; addEventListener('pointerdown', function () {"
            'phases.push(Module._fizzgridPhase()) })')
    for cell in [(0, 0)] * 2 + [(7, 7)] * 2 + [(0, 0)] * 2:
        page.tap(cells[cell])
    wave(page, lambda: page.tap(cells[3, 3]), (0, 0))
    page.tap(cells[7, 7])
    page.tap(cells[7, 7])
    wave(page, lambda: page.touch('touchStart', (*cells[3, 3], 0)), (7, 7), 'touchEnd')


def wave(page, touch, cursor, *after):  # TOUCH in the wave under way, AFTER it: cursor on CURSOR
    page.js('phases = []')
    touch()
    if until(lambda: page.js('return phases.slice(0, 1)'), 'the touch taken')[0] not in (1, 2):
        raise Failure('the wave ended before the test could touch the board in it')
    page.waits(lambda: page.call('fizzgridPhase') == 0, 'the end of the wave')
    for kind in after:
        page.touch(kind)
    if (at := divmod(page.call('fizzgridCursor'), 8)) != cursor:
        raise Failure(f'a touch in a wave took the cursor to {at}')


url, part = chromium.page_url(sys.argv[1]), sys.argv[2]
run({'phone': lambda browser: device(browser, url, (390, 844, 3), 'tap'),
     'tablet': lambda browser: device(browser, url, (1180, 820, 2), 'click'),
     'tiles': lambda browser: tiles_test(browser, url)}[part])
