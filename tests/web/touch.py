#!/usr/bin/python3
# Touch and mouse in the browser: the game's page in headless Chromium made a phone or a tablet by
# DevTools' emulation, played by real taps and clicks (Input.dispatchTouchEvent/MouseEvent), each
# screen equal pixel for pixel to the same game played by keys on a page of the same size. Tiles
# are found on the screen, not computed. Exits 77 (skipped) where Chromium cannot start; fails on
# anything else, a console error included. Usage: touch.py PAGE.html phone|tablet|tiles
#   phone   390 by 844 at 3 device pixels a CSS pixel, portrait, by taps, with the WebGL context
#           lost and restored in the middle of the game
#   tablet  1180 by 820 at 2, landscape, by mouse clicks
#   tiles   the phone: each of the 64 tiles reached by one tap, in portrait and then turned to
#           landscape; taps in the gaps, off the board, by a second finger and in a wave do nothing
import sys

from board import Failure, Page, chromium, games, tiles, until

PHONE, TABLET = (390, 844, 3), (1180, 820, 2)


def by_keys(page):  # the screens of the games played by keys, in order
    shots = []
    for step, *args in games():
        if step == 'show':
            shots.append(page.settled())
        else:
            page.keys(*args[0])
    return shots


def by_pointer(page, shots, act, during=lambda move, play: play()):
    """The games played again by ACT (page.tap or page.click) on the tiles where the starting board
    shows them; each screen must be the one in SHOTS. DURING(n, PLAY) plays the nth move."""
    cells, _ = tiles(page)
    left, top, width, height, _, _ = page.box()
    anywhere = (left + width / 2, top + height / 2)
    moves = 0
    for step, *args in games():
        if step == 'show':
            page.show(shots.pop(0), f'{args[1]}, as played by keys')
            continue
        during(moves, lambda: [act(cells[cell] if cell else anywhere) for cell in args[1]])
        moves += 1


def lose_context(page, *then):
    """WebGL's context lost, THEN run, and the context restored: the page says so meanwhile."""
    page.js("window.loser = arguments[0].getContext('webgl').getExtension('WEBGL_lose_context');"
            'loser.loseContext()', page.canvas)
    until(lambda: page.js('return document.body.dataset.context') == 'lost' and
          'restores its graphics' in page.js('return document.body.innerText'), 'the lost context')
    for action in then:
        action()
    page.js('loser.restoreContext()')
    until(lambda: page.js('return document.body.dataset.context') is None, 'the restored context')


def phone(browser, url):
    chromium.emulate(browser, *PHONE, True)
    shots = by_keys(Page(browser, url))
    page = Page(browser, url)
    if page.box()[4:] != [3 * 390, 3 * 390]:
        raise Failure(f'drawing buffer {page.box()[4:]} on a phone of 390 CSS pixels at 3')

    def during(move, play):
        if move == 0:  # the starting board, lost and restored, is the same
            before = page.shot()
            lose_context(page)
            page.show(before, 'the starting board after the context came back')
        if move == 1:  # the move tapped while the context is lost is shown once it is back
            lose_context(page, play)
        else:
            play()

    by_pointer(page, list(shots), page.tap, during)


def tablet(browser, url):
    chromium.emulate(browser, *TABLET, True)
    shots = by_keys(Page(browser, url))
    page = Page(browser, url)
    by_pointer(page, shots, page.click)


def tour(page):
    """One tap on each tile from (4,4) takes the cursor there; gaps and off-board change nothing."""
    cells, gaps = tiles(page)
    order = [cell for cell in sorted(cells) if cell != (4, 4)] + [(4, 4)]
    for cell in order:
        page.tap(cells[cell])
        at = page.call('fizzgridCursor')
        if (at // 8, at % 8) != cell:
            raise Failure(f'a tap on tile {cell} took the cursor to {at // 8, at % 8}')
    left, top, width, height, _, _ = page.box()
    edges = [(left + width * i / 2, top + height * j / 2) for i in range(3) for j in range(3)
             if (i, j) != (1, 1)]
    drawn = page.call('fizzgridTrianglesDrawn')
    for point in gaps + [(x + (x < left + width / 2) - 0.5, y + (y < top + height / 2) - 0.5)
                         for x, y in edges]:
        page.tap(point)
    if page.call('fizzgridTrianglesDrawn') != drawn or page.call('fizzgridCursor') != 36:
        raise Failure('a tap in a gap or off the board changed the screen')
    return cells


def tiles_test(browser, url):
    chromium.emulate(browser, *PHONE, True)
    page = Page(browser, url)
    tour(page)
    chromium.emulate(browser, PHONE[1], PHONE[0], PHONE[2], True)  # the phone turned
    until(lambda: page.box()[4] == 3 * round(page.box()[2]), 'the buffer of the turned phone')
    cells = tour(page)
    # A second finger, down and up while the first is down, is ignored; the first one's tap counts.
    page.touch('touchStart', (*cells[2, 2], 0))
    page.touch('touchStart', (*cells[2, 2], 0), (*cells[5, 5], 1))
    page.touch('touchEnd', (*cells[2, 2], 0))
    page.touch('touchEnd')
    if page.call('fizzgridCursor') != 8 * 2 + 2:
        raise Failure(f'two fingers took the cursor to {divmod(page.call("fizzgridCursor"), 8)}')
    # Two waves: 1 on (0,0), 2 on (7,7), 1 on (0,0) bursts; 2 on (7,7) bursts. A tap within the
    # first, and a touch that begins in the second and ends after it, do nothing.
    # A wave lasts 19 ticks of the toolkit's idle callback, a tenth of a second here: the page is
    # slowed down so that it outlasts a tap sent over DevTools.
    in_wave = lambda: page.call('fizzgridPhase') in (1, 2)  # noqa: E731
    browser.execute_cdp_cmd('Emulation.setCPUThrottlingRate', {'rate': 10})
    for cell in [(0, 0)] * 2 + [(7, 7)] * 2 + [(0, 0)] * 2:
        page.tap(cells[cell])
    page.tap(cells[3, 3])
    late(page, in_wave, (0, 0))
    page.tap(cells[7, 7])
    page.tap(cells[7, 7])
    page.touch('touchStart', (*cells[3, 3], 0))
    late(page, in_wave, (7, 7), 'touchEnd')


def late(page, in_wave, cursor, *touch):
    """The wave under way still, and once it is over, after TOUCH, the cursor on CURSOR."""
    if not in_wave():
        raise Failure('the wave ended before the test could touch the board in it')
    until(lambda: not in_wave(), 'the end of the wave')
    for kind in touch:
        page.touch(kind)
    if (now := divmod(page.call('fizzgridCursor'), 8)) != cursor:
        raise Failure(f'a touch in a wave took the cursor to {now}')


def main():
    page, part = chromium.page_url(sys.argv[1]), sys.argv[2]
    browser = chromium.launch(PHONE[0], PHONE[1])
    if browser is None:
        sys.exit(77)
    problem = ''
    try:
        {'phone': phone, 'tablet': tablet, 'tiles': tiles_test}[part](browser, page)
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
