#!/usr/bin/python3
# Times each scene's frame in headless Chromium (chromium.py): loads the benchmark page
# (bench/frame_web.cpp) with MIN_TIME and REPETITIONS, in a viewport of the game's window size
# (app/window.h), and prints the browser's version, then its "SCENE MS OWN_MS" lines: each scene's
# median frame time, and the page's own CPU time in it, in ms. Where Chromium cannot start, prints
# why and exits 77; exits 1 on any other failure. Usage: bench-web.py PAGE.html
import os
import re
import sys
import time

import chromium

page = chromium.page_url(sys.argv[1])
window = open(os.path.join(os.path.dirname(__file__), '../app/window.h')).read()
size = int(re.search(r'^#define WINDOW_SIZE (\d+)', window, re.M)[1])
browser = chromium.launch(size, size)
if browser is None:
    sys.exit(77)
try:
    knobs = f"{os.environ.get('MIN_TIME', '0.2')},{os.environ.get('REPETITIONS', '5')}"
    # The page times every scene before its load ends: as long as the benchmarks take.
    browser.set_page_load_timeout(600 * chromium.TIME_SCALE)
    browser.get(f'{page}?{knobs}')
    end = time.monotonic() + 600 * chromium.TIME_SCALE
    lines = []  # what the page printed, "bench done" last
    while 'bench done' not in lines:
        if errors := chromium.errors(browser):
            sys.exit(f'bench-web.py: errors in the page: {errors}')
        if time.monotonic() > end:
            sys.exit('bench-web.py: no "bench done" within 10 minutes')
        time.sleep(0.1)  # the page works on while this waits; nothing to show before it ends
        lines = browser.execute_script('return window.benchLines')
    print(f"# browser: {browser.capabilities['browserVersion']}")
    for line in lines:
        if line.startswith('bench ') and line != 'bench done':
            print(line[len('bench '):])
finally:
    browser.quit()
