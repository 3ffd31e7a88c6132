#!/usr/bin/python3
# Draws the README's picture of the page on a phone held upright (390 by 844 CSS pixels at 3 device
# pixels each): the game's page (scripts/web.sh builds it) in headless Chromium, the games of
# tests/games.txt played by keys up to the game in progress, the whole screen. The web tests
# compare the phone's screen with it. Exits 77 where Chromium cannot start.
# Usage: phone-picture.py PAGE.html OUT.png
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), '../tests/web'))
import board  # noqa: E402


def draw(browser):
    board.chromium.emulate(browser, 390, 844, 3, True)
    page = board.Page(browser)
    for step, *args in board.games.steps():
        if step == 'keys':
            page.keys(*args[0])
        elif step == 'show' and page.settled() and args[0] == 'progress':
            return page.shot(0, 0, 390, 844).save(sys.argv[2])


board.run(draw)
