#!/usr/bin/python3
# The page's pace, its animation frames handed out at times of the test's own (CLOCK, under
# probe.js): at rest for 2 s no animation frame is asked for; a key then plays a wave, ticking in
# each frame at 60 Hz with jitter, and at 120 Hz never twice in one frame and as long within 10 %;
# a resize wakes the loop too. Usage: pace.py PAGE
from board import SIZE, WAVE, Failure, Page, chromium, run, until

CLOCK = '''(function () {  // animation frames INTERVALS ms apart (cycled), from NEXT on
  var clock = (window.fizzgridClock = {intervals: [1000 / 60], next: 0, time: 0}), asked = [];
  window.requestAnimationFrame = function (callback) {
    if (asked.push(callback) === 1) setTimeout(function () {
      clock.time += clock.intervals[clock.next++ % clock.intervals.length];
      asked.splice(0).forEach(function (callback) { callback(clock.time); });
    });
  };
})();'''
PROBE = 'const p = fizzgridProbe; return [p.asks, p.frames.length, Module._fizzgridPhase()]'


def rest(page, what):  # [asks, frames] once every frame asked for has run and no wave is under way
    return until(lambda: (p := page.js(PROBE))[0] == p[1] and p[2] not in WAVE and p, what)[:2]


def wave(page, hz, intervals, pause=0):  # the wave's frames [time, drawn], after PAUSE ms at rest
    page.keys(*['Left'] * 4, *['Down'] * 4, 'Return', 'Right', 'Return', 'Left')  # 1 then bursts
    asks, start = rest(page, f'rest before the wave at {hz} Hz')
    page.js('fizzgridClock.intervals = arguments[0]; fizzgridClock.next = 0', intervals)
    end = page.js('return performance.now()') + pause  # the page's clock, in ms
    until(lambda: page.js(PROBE)[0] != asks or page.js('return performance.now()') > end, 'rest')
    if page.js(PROBE)[0] != asks:
        raise Failure('an animation frame asked for at rest')
    page.keys('Return')
    rest(page, f'the end of the wave at {hz} Hz')
    frames = page.js('return fizzgridProbe.frames.slice(arguments[0])', start)
    if max(sum(n for t, n in frames if t == when) for when, _ in frames) > 1:
        raise Failure(f'two ticks in one frame at {hz} Hz: {frames}')
    ticks = [k for k, (_, drawn) in enumerate(frames) if drawn]
    return frames[ticks[-1]][0] - frames[ticks[0]][0], ticks


def test(browser):
    page = Page(browser)
    slow, ticks = wave(page, 60, [16.4, 16.9, 16.7, 17.0, 16.5, 16.5], pause=2000)  # jitter
    if ticks != list(range(ticks[0], ticks[-1] + 1)):
        raise Failure(f'frames of the wave at 60 Hz with no tick: {ticks}')
    page.keys('space')
    if abs((fast := wave(page, 120, [1000 / 120])[0]) / slow - 1) > 0.1:
        raise Failure(f'a wave of {fast:.1f} ms at 120 Hz, {slow:.1f} ms at 60 Hz')
    asks = page.js(PROBE)[0]
    chromium.emulate(browser, SIZE - 100, SIZE - 100)
    until(lambda: page.js(PROBE)[0] > asks, 'an animation frame asked for after a resize')


run(test, CLOCK)
