#!/usr/bin/python3
# The site to publish (BUILD/site/, from scripts/web.sh) and scripts/serve.sh: the single file asks
# for no service worker; serve.sh's address serves index.html, its QR code reads as it; on localhost
# Chromium finds the site installable, its worker controls the page reloaded, and offline, the
# server stopped, a reload fetches the manifest's icons and plays the README's first two screens.
import contextlib
import os
import socket
import subprocess
import sys
import tempfile
import urllib.request

from board import ROOT, SIZE, Failure, Page, chromium, games, run, until
from play import like

SITE = os.path.join(sys.argv[1], 'site')
ICONS = '''const done = arguments[0], get = (url) => fetch(url, {cache: 'no-store'});
  get('manifest.webmanifest').then((answer) => answer.json()).then((m) => Promise.all(m.icons.map(
    (i) => get(i.src).then((got) => got.ok ? `${i.purpose} ${i.sizes}` : null, () => null))))
    .then(done, (error) => done([String(error)]));'''  # each icon's purpose and size, or null


def fetched(url):  # the body at URL (straight, whatever proxy is set), or None while no answer
    with contextlib.suppress(OSError):
        return urllib.request.build_opener(urllib.request.ProxyHandler({})).open(url).read()


@contextlib.contextmanager
def server(*command):  # COMMAND run with PORT a free port of 127.0.0.1, and its address
    with socket.socket() as probe:
        port = probe.bind(('127.0.0.1', 0)) or str(probe.getsockname()[1])
    with subprocess.Popen([part.replace('PORT', port) for part in command], text=True,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                          start_new_session=True) as process:
        try:
            yield process, f'http://127.0.0.1:{port}/'
        finally:
            os.killpg(process.pid, 15)  # SIGTERM, to serve.sh's Python too


def test(browser):  # Usage: site.py BUILD
    with open(os.path.join(SITE, '../fizzgrid.html')) as single, open(
            os.path.join(SITE, 'index.html'), 'rb') as index, tempfile.TemporaryDirectory() as temp:
        if 'serviceWorker' in single.read():
            raise Failure('the single file asks for a service worker')
        with server(os.path.join(ROOT, 'scripts/serve.sh'), '--bind', '127.0.0.1', '--port', 'PORT',
                    '--qr', qr := os.path.join(temp, 'qr.png'), sys.argv[1]) as (serving, _):
            url = until(lambda: [word for word in serving.stdout.readline().split()
                                 if word.startswith('http://')], 'an address')[0]
            answer = until(lambda: fetched(url), f'an answer at {url}')  # the QR code written
            read = subprocess.run(['zbarimg', '--raw', '-q', qr], capture_output=True, text=True)
            if (answer, read.stdout.strip()) != (index.read(), url):
                raise Failure(f"{url} serves not index.html, or serve.sh's QR code: {read.stdout}")
    cdp = browser.execute_cdp_cmd
    chromium.emulate(browser, SIZE, SIZE + 100)  # the canvas SIZE square above the keys' line
    with server('python3', '-m', 'http.server', '-b', '127.0.0.1', '-d', SITE, 'PORT') as (_, url):
        Page(browser, until(lambda: fetched(url) and url, f'an answer at {url}'))
        if errors := cdp('Page.getInstallabilityErrors', {})['installabilityErrors']:
            raise Failure(f'Chromium would not install the site: {errors}')
        until(lambda: Page(browser, url).js('return !!navigator.serviceWorker.controller'),
              'a service worker controlling the page loaded again')
    cdp('Network.enable', {}) or cdp('Network.emulateNetworkConditions', {
        'offline': True, 'latency': 0, 'downloadThroughput': -1, 'uploadThroughput': -1})
    page = Page(browser, url)
    got = browser.execute_async_script(ICONS)  # what Chromium asks of an app to install: 192, 512
    if None in got or not {'any 192x192', 'any 512x512'} <= set(got):
        raise Failure(f'offline, not every icon or none of 192 and 512 pixels fetched: {got}')
    for step, what, *args in games.steps():  # to the cursor's screen
        page.keys(*what) if step == 'keys' else like(page, what, f'{args[0]} offline')
        if what == 'cursor':
            return


run(test)
