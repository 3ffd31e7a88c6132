#!/usr/bin/python3
# The site to publish (BUILD/site/, from scripts/web.sh) and scripts/serve.sh, in a network of the
# test's own with loopback alone where it can make one (as root): index.html is the page with the
# manifest's link and the worker's registration added, and the single file asks for neither;
# serve.sh's address serves index.html, and the QR code it prints reads as that address; served
# from localhost, Chromium finds the site installable, its worker controls the page after a
# reload, and with the server stopped and the network off a reload still fetches the manifest's
# icons and plays the start and cursor screens as the README's pictures show them. Exits 77 where
# Chromium cannot start. Usage: site.py BUILD (the folder of fizzgrid.html and site/)
import contextlib
import ctypes
import difflib
import json
import os
import re
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

from PIL import Image
from selenium.common.exceptions import WebDriverException

import board
from board import Failure, chromium
from play import unlike

SERVE = os.path.join(os.path.dirname(__file__), '../../scripts/serve.sh')
QR_BLOCKS = set('█▀▄ ')  # qrencode -t UTF8: two rows of modules a line, light ones drawn


def own_network():
    """serve.sh's options: none in a network namespace of the test's own (made here, as root,
    for the test and all it starts) with loopback alone, where serve.sh finds no network address;
    elsewhere, serving on loopback alone."""
    if os.getuid() == 0 and ctypes.CDLL(None, use_errno=True).unshare(0x40000000) == 0:
        subprocess.run(['ip', 'link', 'set', 'lo', 'up'], check=True)  # 0x40000000: CLONE_NEWNET
        return []
    return ['--bind', '127.0.0.1']


def poll(holds, what):  # a server's start: Python's own start takes seconds on a loaded machine
    end = time.monotonic() + 6 * board.WAIT
    while not (result := holds()):
        if time.monotonic() > end:
            raise Failure(f'never {what}')
        time.sleep(0.05)
    return result


def fetched(url):  # the body at URL (straight, whatever proxy is set), or None while no answer
    try:
        with urllib.request.build_opener(urllib.request.ProxyHandler({})).open(
                url, timeout=6 * board.WAIT) as answer:
            return answer.read()
    except OSError:
        return None


def free_port():
    with socket.socket() as probe:
        probe.bind(('127.0.0.1', 0))
        return probe.getsockname()[1]


def check_files(build):
    with open(os.path.join(build, 'fizzgrid.html')) as page, \
         open(os.path.join(build, 'site/index.html')) as index:
        page, index = page.read(), index.read()
    for asked in ['serviceWorker', 'rel="manifest"']:
        if asked in page:
            raise Failure(f'the single file has {asked}')
    changes = [line for line in difflib.unified_diff(page.splitlines(), index.splitlines(), n=0)
               if not line.startswith(('---', '+++', '@@'))]
    if sorted(line[0] + ('manifest' if 'rel="manifest"' in line else 'worker' if
                         'serviceWorker.register(' in line else line) for line in changes) != [
                             '+manifest', '+worker']:
        raise Failure(f'index.html is not the page with the manifest and worker added: {changes}')
    with open(os.path.join(build, 'site/manifest.webmanifest')) as manifest:
        icons, kinds = json.load(manifest)['icons'], set()
    for icon in icons:
        image = Image.open(os.path.join(build, 'site', icon['src'])).convert('RGBA')
        if f'{image.width}x{image.height}' != icon['sizes']:
            raise Failure(f"{icon['src']} is {image.size}, not {icon['sizes']}")
        kinds |= {(purpose, icon['sizes']) for purpose in icon.get('purpose', 'any').split()}
        # A maskable icon is cropped to any shape that keeps the central circle of 80 % of its side:
        # opaque, and the background alone outside it.
        middle, background = image.width / 2, image.getpixel((0, 0))
        if 'maskable' in icon.get('purpose', '') and (background[3] < 255 or any(
                image.getpixel((x, y)) != background for x in range(image.width)
                for y in range(image.height) if (x + 0.5 - middle) ** 2 + (y + 0.5 - middle) ** 2
                > (0.8 * middle) ** 2)):
            raise Failure(f"{icon['src']} has artwork outside the maskable icon's safe zone")
    if not {('any', '192x192'), ('any', '512x512')} <= kinds or 'maskable' not in dict(kinds):
        raise Failure(f'icons of 192 and 512 pixels, one of them maskable: not {kinds}')


def qr_text(rows):  # what the QR code printed as ROWS of qrencode's UTF8 blocks reads as
    image = Image.new('1', (len(rows[0]), 2 * len(rows)))
    for y, row in enumerate(rows):
        for x, block in enumerate(row):
            image.putpixel((x, 2 * y), block in '█▀')
            image.putpixel((x, 2 * y + 1), block in '█▄')
    with tempfile.NamedTemporaryFile(suffix='.png') as png:
        image.resize((image.width * 8, image.height * 8)).save(png.name)
        return subprocess.run(['zbarimg', '--raw', '-q', png.name], capture_output=True,
                              text=True).stdout.strip()


def check_serve(build, options):
    serving = subprocess.Popen([SERVE, '--port', str(free_port()), *options, build], text=True,
                               stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               start_new_session=True)
    try:
        said, code = [], []  # what it printed before its QR code, and the code
        for line in serving.stdout:
            if line.strip('\n') and set(line.strip('\n')) <= QR_BLOCKS:
                code.append(line.strip('\n'))
            elif code:
                break
            else:
                said.append(line)
        url = re.search(r'http://\S+', ''.join(said))
        if not url or not code:
            raise Failure(f'serve.sh printed no address or no QR code: {said}')
        url = url[0]
        with open(os.path.join(build, 'site/index.html'), 'rb') as index:
            if poll(lambda: fetched(url), f'an answer at {url}') != index.read():
                raise Failure(f'{url} does not serve index.html')
        if (read := qr_text(code)) != url:
            raise Failure(f"serve.sh's QR code reads {read!r}, not {url}")
    finally:
        os.killpg(serving.pid, signal.SIGTERM)
        serving.wait()


@contextlib.contextmanager
def http_server(folder):
    url = f'http://127.0.0.1:{(port := free_port())}/'
    server = subprocess.Popen([sys.executable, '-m', 'http.server', str(port), '--bind',
                               '127.0.0.1', '--directory', folder],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        poll(lambda: fetched(url), f'an answer at {url}')
        yield url
    finally:
        server.terminate()
        server.wait()


# Past the HTTP cache, so that only the worker answers: the manifest's icons not fetched.
ICONS = """
  const done = arguments[0], get = (url) => fetch(url, {cache: 'no-store'});
  const manifest = document.querySelector('link[rel=manifest]').href;
  get(manifest).then((answer) => answer.json())
    .then((m) => Promise.all(m.icons.map((icon) => get(new URL(icon.src, manifest))
      .then((answer) => answer.ok ? '' : `${icon.src}: ${answer.status}`,
            () => `${icon.src}: not fetched`))))
    .then((missing) => done(missing.filter(Boolean)), (error) => done([`the manifest: ${error}`]));
"""


def offline(browser, build):
    chromium.emulate(browser, 600, 700)  # a 600 by 600 canvas above the line on the keys
    browser.set_script_timeout(board.WAIT)
    with http_server(os.path.join(build, 'site')) as url:
        board.Page(browser, url)
        errors = browser.execute_cdp_cmd('Page.getInstallabilityErrors', {})
        if errors['installabilityErrors']:
            raise Failure(f"Chromium would not install the site: {errors['installabilityErrors']}")
        browser.execute_async_script('navigator.serviceWorker.ready.then(() => arguments[0]())')
        page = board.Page(browser, url)
        if not page.js('return !!navigator.serviceWorker.controller'):
            raise Failure('no service worker controls the page loaded again')
    browser.execute_cdp_cmd('Network.enable', {})
    browser.execute_cdp_cmd('Network.setCacheDisabled', {'cacheDisabled': True})
    browser.execute_cdp_cmd('Network.emulateNetworkConditions', {
        'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
    try:
        page = board.Page(browser, url)
    except WebDriverException as error:  # the browser's own page of a failed load
        raise Failure(f'offline, the page did not load: {error.msg}') from None
    if missing := browser.execute_async_script(ICONS):
        raise Failure(f'offline, the icons of the manifest: {missing}')
    for step, *args in board.games():  # to the cursor in the corner
        if step == 'move':
            page.keys(*args[0])
            continue
        why = ['']
        try:
            page.waits(lambda: not (why.__setitem__(0, unlike(page.shot(), args[0])) or why[0]),
                       f'{args[1]} offline')
        except Failure as failure:
            raise Failure(f'{failure}: {why[0]}') from None
        if args[0] == 'cursor':
            break


build = sys.argv[1]
options = own_network()
try:
    check_files(build)
    check_serve(build, options)
except Failure as failure:
    sys.exit(f'FAIL: {failure}')
board.run(lambda browser: offline(browser, build))
