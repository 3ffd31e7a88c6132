#!/usr/bin/python3
# The page's pace on screens of several rates, and its rest. The page is given animation frames at
# times of the test's own (CLOCK, run before the page's script, under tests/web/probe.js), as fast
# as it takes them: every figure checked is a frame's time, none the machine's. A wave at 60 Hz
# ticks in each of its frames; at 120 and 144 Hz, and after a stall, it never ticks in two frames
# in a row nor twice in one, and lasts as long as at 60 Hz, within 10 %. At rest for 2 s of the
# page's clock no animation frame is asked for; a key, a click and a resize start the ticks again.
# Usage: pace.py PAGE
import os
import sys
import time

from board import Failure, Page, chromium, run

CLOCK = '''(function () {  // animation frames INTERVALS ms apart (cycled), from NEXT on
  var clock = (window.fizzgridClock = {intervals: [1000 / 60], next: 0, time: 0}), asked = [];
  window.requestAnimationFrame = function (callback) {
    if (asked.push(callback) === 1) setTimeout(function () {
      var callbacks = asked;
      asked = [];
      clock.time += clock.intervals[clock.next++ % clock.intervals.length];
      callbacks.forEach(function (callback) { callback(clock.time); });
    });
    return 0;
  };
})();'''
HZ60 = [16.4, 16.9, 16.7, 17.0, 16.5, 16.5]  # a 60 Hz screen's jitter: 16.67 ms on average
RATES = [('60 Hz', HZ60), ('120 Hz', [1000 / 120]), ('144 Hz', [1000 / 144]),
         ('120 Hz with a stall of 0.5 s', [1000 / 120] * 6 + [500] + [1000 / 120] * 200)]


def poll(holds, what, wait=10 * chromium.TIME_SCALE):
    end = time.monotonic() + wait
    while not (result := holds()):
        if time.monotonic() > end:
            raise Failure(f'the page never showed {what}')
        time.sleep(0.05)
    return result


def probe(page):  # animation frames asked for, frames run, and the game's phase
    return page.js('const p = fizzgridProbe; return [p.asks, p.frames.length, '
                   'Module._fizzgridPhase()]')


def at_rest(page, what):  # every frame asked for has run, and no wave is under way
    return poll(lambda: (p := probe(page))[0] == p[1] and p[2] not in (1, 2) and p, what)


def wave(page, name, intervals, rest=False):
    """Player 1 bursts a corner and wins at INTERVALS; the frames of the wave [time, frames drawn],
    and the indexes of those that ticked. REST: 2 s at rest, by the page's clock, before."""
    page.keys(*['Left'] * 4, *['Down'] * 4, 'Enter', 'Right', 'Enter', 'Left')
    asks, start, _ = at_rest(page, f'rest before the wave at {name}')
    page.js('fizzgridClock.intervals = arguments[0]; fizzgridClock.next = 0', intervals)
    since = page.js('return performance.now()')
    while rest and page.js('return performance.now()') - since < 2000:
        if probe(page)[0] != asks:
            raise Failure('an animation frame asked for at rest')
        time.sleep(0.1)
    page.keys('Enter')
    if at_rest(page, f'the end of the wave at {name}')[2] != 3:
        raise Failure(f'no wave played at {name}: the game is in phase {probe(page)[2]}')
    frames = page.js('return fizzgridProbe.frames.slice(arguments[0])', start)
    for when in {t for t, _ in frames}:
        if (drawn := sum(n for t, n in frames if t == when)) > 1:
            raise Failure(f'{drawn} ticks in one frame at {name}')
    return frames, [k for k, (_, drawn) in enumerate(frames) if drawn]


def wakes(page, event, what):  # EVENT starts the ticks again, which stop once at rest
    before = probe(page)[0]
    event()
    poll(lambda: probe(page)[0] > before, f'an animation frame asked for after {what}')
    at_rest(page, f'rest after {what}')


def test(browser):
    with open(os.path.join(os.path.dirname(__file__), 'probe.js')) as probe_js:
        for script in [CLOCK, probe_js.read()]:
            browser.execute_cdp_cmd('Page.addScriptToEvaluateOnNewDocument', {'source': script})
    page = Page(browser, chromium.page_url(sys.argv[1]))
    lengths = {}
    for name, intervals in RATES:
        frames, ticks = wave(page, name, intervals, rest=name == '60 Hz')
        if name == '60 Hz' and ticks != list(range(ticks[0], ticks[-1] + 1)):
            raise Failure(f'frames of the wave at 60 Hz with no tick: {frames}')
        if name != '60 Hz' and any(b - a < 2 and frames[b][0] - frames[a][0] < 1000 / 60
                                   for a, b in zip(ticks, ticks[1:])):
            raise Failure(f'ticks in frames in a row at {name}: {frames}')
        lengths[name] = frames[ticks[-1]][0] - frames[ticks[0]][0]
        if 'stall' not in name and abs(lengths[name] / lengths['60 Hz'] - 1) > 0.1:
            raise Failure(f'a wave of {lengths[name]:.1f} ms at {name}, {lengths["60 Hz"]:.1f} '
                          'ms at 60 Hz')
        if name != RATES[-1][0]:
            page.keys('Space')
    left, top, width, height, _, _ = page.box()
    wakes(page, lambda: page.click((left + width / 2, top + height / 2)), 'a click (a new game)')
    wakes(page, lambda: chromium.emulate(browser, 500, 500), 'a resize')


run(test)
