# What the web tests share: facts read from the sources, the game's page in headless Chromium
# (scripts/chromium.py) watched by probe.js, its screen, keys and taps, and the tiles it shows.
import base64, io, os, re, sys, time  # noqa: E401

from PIL import Image, ImageChops
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '../..')
sys.path[:0] = [os.path.join(ROOT, 'scripts'), os.path.join(ROOT, 'tests')]
import chromium, games  # noqa: E401,E402,F401


def source(path, pattern):  # what PATTERN's group matches in the project's file PATH
    with open(os.path.join(ROOT, path)) as text:
        return re.findall(pattern, text.read())


TITLE = source('app/window.h', r'#define WINDOW_TITLE "(.*)"')[0]
SIZE = int(source('app/window.h', r'#define WINDOW_SIZE (\d+)')[0])
WAVE = [int(n) for n in source('game/state.h', r'PHASE_BURST_\w+ = (\d+)')]  # a wave's phases
KEYS = {'Left': Keys.LEFT, 'Right': Keys.RIGHT, 'Up': Keys.UP, 'Down': Keys.DOWN,
        'Return': Keys.ENTER, 'space': ' ', 'q': 'q'}


class Failure(Exception): pass  # noqa: E701


def until(holds, what, why=lambda: '', wait=20):  # HOLDS()'s first true result, asked each 50 ms
    end = time.monotonic() + wait * chromium.TIME_SCALE
    while not (result := holds()):
        if time.monotonic() > end:
            raise Failure(f'the page never showed {what} {why()}')
        time.sleep(0.05)
    return result


def run(test, *scripts, flags=()):  # TEST(browser), pages running SCRIPTS and probe.js first
    browser, problem = chromium.launch(SIZE, SIZE, *flags), ''
    if browser is None:
        sys.exit(77)
    with open(os.path.join(ROOT, 'tests/web/probe.js')) as probe:
        for script in scripts + (probe.read(),):
            browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': script})
    try:
        test(browser)
    except Failure as failure:
        problem = str(failure)
    finally:
        errors = chromium.errors(browser)
        browser.quit()
    if problem or errors:
        sys.exit(f'FAIL: {problem} {errors or ""}')


def in_vain(page, what, act):  # ACT() drew nothing (DevTools returns once the page took its input)
    drawn = page.js('return fizzgridProbe.clears')
    act()
    if page.js('return fizzgridProbe.clears') != drawn:
        raise Failure(f'{what} drew a frame')


def hue(colour):  # 'dark', 'grey', or the channel that dominates: 'R', 'G' or 'B'
    top = max(colour)
    return 'dark' if top < 60 else 'grey' if top - min(colour) < 30 else 'RGB'[colour.index(top)]


def same(one, other):  # whether two images have the same pixels
    return one.size == other.size and one.tobytes() == other.tobytes()


def picture(name):  # the README's picture docs/screenshots/NAME.png
    return Image.open(os.path.join(ROOT, 'docs/screenshots', name + '.png')).convert('RGB')


def image(data):  # a PNG in base64, or a data URL of one
    return Image.open(io.BytesIO(base64.b64decode(data.split(',')[-1]))).convert('RGB')


class Page:  # the game's page (the one named first on the command line), loaded and running
    def __init__(self, browser, url=None):
        self.browser = browser
        browser.get(url or chromium.page_url(sys.argv[1]))
        until(lambda: self.js('return document.body.dataset.game') == 'running', 'the game')

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def box(self):  # the canvas's place and size in CSS pixels, and its drawing buffer's size
        return self.js('const c = document.querySelector("canvas"), r = c.getBoundingClientRect();'
                       'return [r.left, r.top, r.width, r.height, c.width, c.height]')

    def shot(self, *box, scale=1):  # the screen in BOX (CSS pixels; the canvas's), SCALE to a pixel
        return image(self.browser.execute_cdp_cmd('Page.captureScreenshot', {'clip': dict(
            zip(['x', 'y', 'width', 'height'], box or self.box()[:4]), scale=scale),
            'optimizeForSpeed': True})['data'])

    def hue(self, x, y):  # the hue of the screen's pixel at (X, Y)
        shot = self.shot(x - 0.5, y - 0.5, 1, 1)
        return hue(shot.getpixel((shot.size[0] // 2, shot.size[1] // 2)))

    def settled(self):  # the canvas once no wave is under way and two (small) captures agree
        until(lambda: self.js('return Module._fizzgridPhase()') not in WAVE, 'the wave ended')
        shots = [self.shot(scale=0.25)]
        until(lambda: shots.append(self.shot(scale=0.25)) or same(*shots[-2:]), 'a still screen')
        return self.shot()

    def keys(self, *names):  # X key names
        ActionChains(self.browser).send_keys(*[KEYS[name] for name in names]).perform()

    def touch(self, kind, *points):  # kind: touchStart, touchMove or touchEnd; points: (x, y, id)
        self.browser.execute_cdp_cmd('Input.dispatchTouchEvent', {'type': kind, 'touchPoints': [
            {'x': x, 'y': y, 'id': n, 'radiusX': 1, 'radiusY': 1} for x, y, n in points]})

    def tap(self, point, *moves):  # a finger down at POINT, moved through MOVES, and up
        for kind, at in [('touchStart', point)] + [('touchMove', to) for to in moves]:
            self.touch(kind, (*at, 0))
        self.touch('touchEnd')


def tiles(page):  # {(x, y): a point in its tile's top face}, and a point in each gap, in CSS px
    left, top, width, height, _, _ = page.box()
    red, green, blue = page.shot(scale=1 / page.js('return devicePixelRatio')).split()
    bright = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    side, lit = red.size[0], bright.point(lambda v: 255 * (v > 24)).getbbox()
    if not lit or min(lit[:2]) == 0 or max(lit[2:]) == side:
        raise Failure('the board not drawn whole on the canvas')
    face, runs = bright.point(lambda v: 255 * (v > 128)), []  # sides: 118 at most, empty
    for line in [lambda k: (k, 0, k + 1, side), lambda k: (0, side - 1 - k, side, side - k)]:
        lit = [face.crop(line(k)).getbbox() is not None for k in range(side)] + [False]
        runs.append([k for k in range(side) if lit[k] != lit[k - 1]])  # each run's first, next
        if len(runs[-1]) != 16:
            raise Failure(f'{len(runs[-1]) // 2} columns or rows of tiles on the screen, not 8')
    x, y = [[(run[k] + run[k + 1]) / 2 for k in range(15)] for run in runs]  # middles, gaps
    css = lambda i, j: (left + x[i] * width / side, top + height - y[j] * height / side)  # noqa
    cells = {(i, j): css(2 * i, 2 * j) for i in range(8) for j in range(8)}
    return cells, [css(2 * k + 1, 2 * k) for k in range(7)] + [css(2 * k, 2 * k + 1)
                                                                 for k in range(7)]
