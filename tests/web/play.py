#!/usr/bin/python3
# End to end in the browser: the game's page in headless Chromium (scripts/chromium.py), played
# with real key events, each screen compared with the README's pictures as tests/e2e/play.sh
# compares the native window's, in the games of tests/games.txt; before them, the whole board in a
# 500 by 500 window, and the window made 600 by 700, where the canvas is 600 by 600 again. Exits 77
# (skipped) where Chromium cannot start; fails on anything else. FIZZGRID_TIMEOUT_MULTIPLIER scales
# every wait. Usage: play.py PAGE.html
import base64
import os
import sys
import time

from PIL import Image, ImageChops

import board
from board import Failure, chromium, until

SHOTS = os.path.join(os.path.dirname(__file__), '../../docs/screenshots')
WAIT = board.WAIT


def unlike(got, name):
    """Why a screen is not like the picture NAME, or '' when it is.

    SwiftShader rasterizes a little differently from Mesa's llvmpipe, which drew the pictures (the
    README's rule): the tile sides that lie within 0.02 px of the centres of row 304 and column 295
    fall on the other side of them, a whole line each; elsewhere, measured on every picture, at
    most 31 silhouette pixels differ by more than 8 levels of 255, and the winner's shading by
    more than 4 in 74."""
    if got.size != (600, 600):
        return f'size {got.size}'
    want = Image.open(os.path.join(SHOTS, name + '.png')).convert('RGB')
    red, green, blue = ImageChops.difference(got, want).split()
    worst = ImageChops.lighter(ImageChops.lighter(red, green), blue)  # each pixel's worst channel
    worst.paste(0, (295, 0, 296, 600))
    worst.paste(0, (0, 304, 600, 305))
    levels = worst.histogram()
    over4, over8 = sum(levels[5:]), sum(levels[9:])
    if over8 <= 40 and over4 <= 120:
        return ''
    return f'{over8} pixels differ by more than 8 levels (40 may), {over4} by more than 4 (120 may)'


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
        end = time.monotonic() + WAIT
        while why := unlike(page.shot(), name):
            if time.monotonic() > end:
                raise Failure(f'the page never showed {what}: {why}')

    show('the starting board, drawn again at 600 by 600', 'start')
    for step, *args in board.games():
        if step == 'show':
            show(args[1], args[0])
            continue
        page.keys(*args[0])
        scrolled = page.js('return `${scrollX},${scrollY}`')
        if scrolled != '0,0':
            raise Failure(f'the keys scrolled the page to {scrolled}')
    page.keys('q')
    until(lambda: page.state() == 'ended' and 'has ended. Reload' in
          page.js('return document.body.innerText'), 'the end of the game after q')


board.run(lambda browser: play(browser, chromium.page_url(sys.argv[1])))
