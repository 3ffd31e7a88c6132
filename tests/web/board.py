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
KEYS = {'Left': Keys.ARROW_LEFT, 'Right': Keys.ARROW_RIGHT, 'Up': Keys.ARROW_UP,
        'Down': Keys.ARROW_DOWN, 'Enter': Keys.ENTER, 'Space': ' ', 'q': 'q'}
ARROWS = {'Left': (-1, 0), 'Right': (1, 0), 'Down': (0, -1), 'Up': (0, 1)}


class Failure(Exception):
    pass


def until(holds, what, wait=WAIT):
    end = time.monotonic() + wait
    while not (result := holds()):
        if time.monotonic() > end:
            raise Failure(f'the page never showed {what}')
    return result


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
                for key in args:
                    cursor = [min(7, max(0, cursor[k] + ARROWS[key][k])) for k in (0, 1)]
                yield 'move', args, [tuple(cursor)]
            elif step == 'place':
                keys, taps = [], []
                for x, y in (map(int, cell.split(',')) for cell in args):
                    keys += ['Left'] * (cursor[0] - x) + ['Right'] * (x - cursor[0])
                    keys += ['Down'] * (cursor[1] - y) + ['Up'] * (y - cursor[1]) + ['Enter']
                    taps += [(x, y)] * (1 if cursor == [x, y] else 2)  # to the cell, then on it
                    cursor = [x, y]
                yield 'move', keys, taps
            else:
                raise Failure(f'tests/games.txt: no step {step}')


class Page:
    """The game's page, loaded and running, in BROWSER."""

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

    def settled(self):
        """The screen once no wave is under way and two captures agree."""
        until(lambda: self.call('fizzgridPhase') in (0, 3, 4), 'the end of the wave')
        last, now = None, self.shot()
        end = time.monotonic() + WAIT
        while last is None or now.tobytes() != last.tobytes():
            if time.monotonic() > end:
                raise Failure('the page never showed a settled screen')
            last, now = now, self.shot()
        return now

    def show(self, want, what):  # waits until the canvas shows the image WANT, pixel for pixel
        until(lambda: self.shot().tobytes() == want.tobytes(), what)

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
    """The board on the canvas now: {(x, y): a point inside that tile, in CSS pixels of the
    viewport} and points in the gaps between neighbouring tiles, from what the screen shows: each
    top face, facing the light, is a patch of pixels brighter than 128 levels; the sides the tiles
    show are darker (118 levels at most on an empty board), the gaps black."""
    left, top, width, _, _, _ = page.box()
    side = min(400, round(width))  # enough to see every gap; a patch search in Python is slow
    shot = page.shot().resize((side, side), Image.NEAREST)
    scale = side / width  # pixels of SHOT per CSS pixel
    lit = [max(p) > 24 for p in shot.getdata()]
    face = [max(p) > 128 for p in shot.getdata()]
    if any(lit[:side] + lit[-side:] + lit[::side] + lit[side - 1::side]):
        raise Failure('the board runs off the canvas')
    patches, seen = [], bytearray(len(lit))
    for start in range(len(lit)):
        if not face[start] or seen[start]:
            continue
        seen[start], todo, xs, ys, count = 1, [start], 0, 0, 0
        while todo:
            at = todo.pop()
            x, y = at % side, at // side
            xs, ys, count = xs + x + 0.5, ys + y + 0.5, count + 1
            for near in (at - 1, at + 1, at - side, at + side):  # the border is dark: no wrapping
                if face[near] and not seen[near]:
                    seen[near] = 1
                    todo.append(near)
        patches.append((xs / count, ys / count))
    if len(patches) != 64:
        raise Failure(f'{len(patches)} tiles on the screen, not 64')
    # Eight columns from the left, each of eight tiles from the bottom (the world's y is up).
    patches.sort()
    cells = {}
    for x in range(8):
        for y, (px, py) in enumerate(sorted(patches[8 * x:8 * x + 8], key=lambda p: -p[1])):
            cells[x, y] = (px, py)
    gaps = []
    for (x, y), (px, py) in cells.items():  # the middle of the dark run towards each neighbour
        for near in [cells.get((x + 1, y)), cells.get((x, y + 1))]:
            if near is None:
                continue
            line = [(px + (near[0] - px) * k / 100, py + (near[1] - py) * k / 100)
                    for k in range(101)]
            dark = [p for p in line if not lit[int(p[1]) * side + int(p[0])]]
            if not dark:
                raise Failure(f'no gap between tile {x},{y} and its neighbour')
            gaps.append(dark[len(dark) // 2])
    css = lambda p: (left + p[0] / scale, top + p[1] / scale)  # noqa: E731
    return {cell: css(p) for cell, p in cells.items()}, [css(p) for p in gaps]
