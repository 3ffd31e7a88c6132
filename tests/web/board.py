# What the web tests share: the scripted games of tests/games.txt, the game's page in Chromium
# (state, screenshots, keys, taps and clicks), and the tiles found on a screenshot of the board.
import base64
import io
import os
import sys
import time

from PIL import Image
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '../../scripts'))
import chromium  # noqa: E402

WAIT = 5 * chromium.TIME_SCALE  # seconds
KEYS = {'Left': Keys.LEFT, 'Right': Keys.RIGHT, 'Up': Keys.UP, 'Down': Keys.DOWN,
        'Enter': Keys.ENTER, 'Space': ' ', 'q': 'q'}


class Failure(Exception): pass  # noqa: E701


def until(holds, what, wait=WAIT):
    end = time.monotonic() + wait
    while not (result := holds()):
        if time.monotonic() > end:
            raise Failure(f'the page never showed {what}')
    return result


def run(test):
    # TEST(browser) in a fresh Chromium; 77 (skipped) where it cannot start; fails on console errors
    browser = chromium.launch(600, 600)
    if browser is None:
        sys.exit(77)
    problem = ''
    try:
        test(browser)
    except Failure as failure:
        problem = str(failure)
    finally:
        errors = chromium.errors(browser)
        browser.quit()
    if errors:
        problem += f"{'; ' if problem else ''}the page's errors: {errors}"
    if problem:
        sys.exit(f'FAIL: {problem}')


def games():
    """The steps of tests/games.txt: ('show', PICTURE, WHAT), or ('move', KEYS, TAPS): the key
    names that play a move, and the cells ((x, y), or None: anywhere) that taps or clicks play."""
    cursor = [4, 4]
    with open(os.path.join(os.path.dirname(__file__), '../games.txt')) as lines:
        for line in lines:
            if line.startswith('#') or not line.split():
                continue
            step, *args = line.split()
            if step == 'show':
                yield 'show', args[0], ' '.join(args[1:])
            elif step == 'new':
                cursor = [4, 4]
                yield 'move', ['Space'], [None]
            elif step == 'arrows':
                cursor = [int(n) for n in args[0].split(',')]
                yield 'move', args[1:], [tuple(cursor)]
            elif step == 'place':
                keys, taps = [], []
                for x, y in (map(int, cell.split(',')) for cell in args):
                    keys += ['Left'] * (cursor[0] - x) + ['Right'] * (x - cursor[0])
                    keys += ['Down'] * (cursor[1] - y) + ['Up'] * (y - cursor[1]) + ['Enter']
                    taps += [(x, y)] * (1 if cursor == [x, y] else 2)  # to the cell, then on it
                    cursor = [x, y]
                yield 'move', keys, taps


class Page:  # the game's page, loaded and running
    def __init__(self, browser, url):
        self.browser = browser
        browser.get(url)
        until(lambda: self.state() == 'running', 'the game started')
        self.canvas = browser.find_element('css selector', 'canvas')

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def state(self):
        return self.js('return document.body.dataset.game')

    def call(self, name):  # one of the game's functions for the page (web/page.cpp, taps.cpp)
        return self.js(f'return Module._{name}()')

    def box(self):  # the canvas's place in CSS pixels, and its drawing buffer's size
        return self.js('const c = arguments[0], r = c.getBoundingClientRect();'
                       'return [r.left, r.top, r.width, r.height, c.width, c.height]', self.canvas)

    def shot(self):  # the canvas's pixels, straight from DevTools: twice as fast as WebDriver's
        left, top, width, height, _, _ = self.box()
        png = self.browser.execute_cdp_cmd('Page.captureScreenshot', {'clip': {
            'x': left, 'y': top, 'width': width, 'height': height, 'scale': 1}})['data']
        return Image.open(io.BytesIO(base64.b64decode(png))).convert('RGB')

    def waits(self, holds, what):
        """until(HOLDS, WHAT) for as long as the game's ticks go on, and WAIT after the last one: a
        wave lasts 19 animation frames, however long a loaded machine takes to draw each; a
        minute at most."""
        ticks, end, most = None, 0, time.monotonic() + 12 * WAIT
        while not (result := holds()):
            if (now := self.call('fizzgridTickFrames')) != ticks:
                ticks, end = now, time.monotonic() + WAIT
            if time.monotonic() > min(end, most):
                raise Failure(f'the page never showed {what}')
        return result

    def settled(self):  # the screen once no wave is under way and two captures agree
        self.waits(lambda: self.call('fizzgridPhase') in (0, 3, 4), 'the end of the wave')
        shots = [self.shot()]
        until(lambda: shots.append(self.shot()) or shots[-1].tobytes() == shots[-2].tobytes(),
              'a settled screen')
        return shots[-1]

    def show(self, want, what):  # waits until the canvas shows the image WANT, pixel for pixel
        self.waits(lambda: self.shot().tobytes() == want.tobytes(), what)

    def keys(self, *names):
        ActionChains(self.browser).send_keys(*[KEYS[name] for name in names]).perform()

    def touch(self, kind, *points):  # kind: touchStart, touchMove or touchEnd; points: (x, y, id)
        self.browser.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': [
            {'x': x, 'y': y, 'id': n, 'radiusX': 1, 'radiusY': 1} for x, y, n in points]})

    def tap(self, point):
        self.touch('touchStart', (*point, 0))
        self.touch('touchEnd')

    def click(self, point):
        for kind in ['mouseMoved', 'mousePressed', 'mouseReleased']:
            self.browser.execute_cdp_cmd('Input.dispatchMouseEvent', {
                'type': kind, 'x': point[0], 'y': point[1], 'button': 'left', 'clickCount': 1})


def tiles(page):
    """The board now: {(x, y): a point well inside its tile's top face}, and points in the gaps, in
    CSS pixels. Top faces are brighter than 128 levels (the tiles' sides, at most 118 on an empty
    board), gaps black; each column of tiles covers a run of screen columns, each row of lines."""
    left, top, width, _, _, _ = page.box()
    shot = page.shot()
    scale, side = shot.size[0] / width, shot.size[0]
    pixels = list(shot.getdata())
    lit = lambda i: max(pixels[i]) > 24  # noqa: E731
    if any(lit(i) or lit(i * side) or lit(side * side - 1 - i) or lit(i * side + side - 1)
           for i in range(side)):
        raise Failure('the board runs off the canvas')
    face = [max(p) > 128 for p in pixels]
    runs = []  # [first, last] of each run of columns, then of rows, holding a top face
    for across in [[any(face[x::side]) for x in range(side)],
                   [any(face[y * side:(y + 1) * side]) for y in range(side)]]:
        starts = [k for k in range(side) if across[k] and (k == 0 or not across[k - 1])]
        ends = [k for k in range(side) if across[k] and (k == side - 1 or not across[k + 1])]
        if len(starts) != 8:
            raise Failure(f'{len(starts)} columns or rows of tiles on the screen, not 8')
        runs.append(list(zip(starts, ends)))
    middle = lambda run: (run[0] + run[1] + 1) / 2  # noqa: E731
    gap = lambda runs, k: (runs[k][1] + 1 + runs[k + 1][0]) / 2  # noqa: E731
    css = lambda x, y: (left + x / scale, top + y / scale)  # noqa: E731
    columns, rows = runs[0], runs[1][::-1]  # rows from the bottom: the world's y is up
    cells = {(x, y): css(middle(columns[x]), middle(rows[y])) for x in range(8) for y in range(8)}
    gaps = [css(gap(columns, k), middle(rows[y])) for k in range(7) for y in range(8)]
    gaps += [css(middle(columns[x]), gap(runs[1], k)) for x in range(8) for k in range(7)]
    return cells, gaps
