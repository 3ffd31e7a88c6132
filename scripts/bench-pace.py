#!/usr/bin/python3
# The page's pace in headless Chromium (chromium.py). Prints how long a wave lasts, from the first
# frame it ticks in to the one that brings the camera back to rest, on the animation frames' own
# clock (tests/web/probe.js reads their times): at 60 Hz, headless Chromium's own frames, and at
# 120 Hz, frames handed to the page at each 1/120 s of its clock as a 120 Hz screen gives them.
# Then the CPU time taken at rest, on the winner's screen, over 50 x MIN_TIME s (10 s by default):
# the page's, as DevTools' Performance.getMetrics counts it on the renderer's main thread
# (TaskDuration: all its tasks; ScriptDuration: the JavaScript and WebAssembly among them), and
# all of Chromium's processes' (its GPU process and the browser's own included), from /proc.
# Where Chromium cannot start, says so and prints no figure. Usage: bench-pace.py PAGE.html
import os
import sys
import time

from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

import chromium

CLOCK_120HZ = '''(function () {  // frames at the 120 Hz steps of the page's clock, a step each
  var step = 1000 / 120, asked = [], last = 0;
  window.requestAnimationFrame = function (callback) {
    if (asked.push(callback) === 1) setTimeout(function () {
      var callbacks = asked;
      asked = [];
      last = Math.max(Math.floor(performance.now() / step) * step, last + step);
      callbacks.forEach(function (callback) { callback(last); });
    }, step - performance.now() % step);
    return 0;
  };
})();'''
PROBE = open(os.path.join(os.path.dirname(__file__), '../tests/web/probe.js')).read()


def poll(holds, what, wait=60 * chromium.TIME_SCALE):
    end = time.monotonic() + wait
    while not holds():
        if time.monotonic() > end:
            sys.exit(f'bench-pace.py: the page never showed {what}')
        time.sleep(0.05)


def wave(browser):
    """Player 1 bursts a corner and wins, on a page just loaded: the wave's length in ms, its
    frames that ticks drew, and the animation frames that ran meanwhile."""
    state = 'return [document.body.dataset.game, fizzgridProbe.asks, fizzgridProbe.frames.length,' \
            " document.body.dataset.game === 'running' && Module._fizzgridPhase()]"
    at_rest = lambda phase: (lambda: (s := browser.execute_script(state))[1] == s[2] and  # noqa
                             s[3] == phase)
    poll(at_rest(0), 'the game at rest')
    keys = [Keys.LEFT] * 4 + [Keys.DOWN] * 4 + [Keys.ENTER, Keys.RIGHT, Keys.ENTER, Keys.LEFT]
    ActionChains(browser).send_keys(*keys).perform()
    poll(at_rest(0), 'the game at rest before the wave')
    start = browser.execute_script(state)[2]
    ActionChains(browser).send_keys(Keys.ENTER).perform()
    poll(at_rest(3), "player 1's win")
    frames = browser.execute_script('return fizzgridProbe.frames.slice(arguments[0])', start)
    ticks = [t for t, drawn in frames if drawn]
    return ticks[-1] - ticks[0], len(ticks), len(frames)


def cpu_seconds(browser):  # Chromium's processes: those under its driver's
    tick, parents, seconds = os.sysconf('SC_CLK_TCK'), {}, {}
    for pid in filter(str.isdigit, os.listdir('/proc')):
        try:
            with open(f'/proc/{pid}/stat') as stat:
                fields = stat.read().rsplit(')', 1)[1].split()
        except OSError:
            continue
        parents[int(pid)], seconds[int(pid)] = int(fields[1]), (int(fields[11]) + int(fields[12]))
    under = {browser.service.process.pid}
    while grown := {p for p in parents if parents[p] in under} - under:
        under |= grown
    return sum(seconds[p] for p in under) / tick


page = chromium.page_url(sys.argv[1])
browser = chromium.launch(600, 600)
if browser is None:
    sys.exit(0)  # chromium.launch said why; there is nothing to measure
try:
    print(f"Page pace, Chromium {browser.capabilities['browserVersion']} headless:")
    probe = browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': PROBE})
    browser.get(page)
    length, ticks, frames = wave(browser)
    print(f'  a wave at 60 Hz: {length:.1f} ms ({ticks} frames drawn by ticks, {frames} run)')
    rest = 50 * float(os.environ.get('MIN_TIME', '0.2'))
    browser.execute_cdp_cmd('Performance.enable', {})
    metrics = lambda: {m['name']: m['value'] for m in  # noqa: E731
                       browser.execute_cdp_cmd('Performance.getMetrics', {})['metrics']}
    asks, before, cpu = browser.execute_script('return fizzgridProbe.asks'), metrics(), \
        cpu_seconds(browser)
    time.sleep(rest)  # the measure itself: the page left alone
    after, cpu = metrics(), cpu_seconds(browser) - cpu
    asks = browser.execute_script('return fizzgridProbe.asks') - asks
    task, script = [1000 * (after[k] - before[k]) for k in ['TaskDuration', 'ScriptDuration']]
    print(f'  at rest for {rest:g} s: the page {task:.1f} ms of tasks ({script:.1f} ms of script),'
          f' {asks} animation frames asked for; all of Chromium {1000 * cpu:.0f} ms of CPU')
    browser.execute_cdp_cmd('Page.removeScriptToEvaluateOnNewDocument', probe)
    for script in [CLOCK_120HZ, PROBE]:
        browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': script})
    browser.get(page)
    length, ticks, frames = wave(browser)
    print(f'  a wave at 120 Hz: {length:.1f} ms ({ticks} frames drawn by ticks, {frames} run)')
finally:
    browser.quit()
