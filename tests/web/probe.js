// Watches the game's page from outside, for the web tests: run before the page's own script (DevTools'
// Page.addScriptToEvaluateOnNewDocument), so the page ships nothing for its tests.
//  - clears: the frames drawn since the page opened (every frame starts with one WebGL clear); an
//    unchanged count says nothing was drawn, which a picture cannot tell from a frame alike;
//  - asks: the animation frames the page has asked for;
//  - frames: for each animation frame that ran a callback of the page, [its time in ms, the frames
//    drawn in it];
//  - ticks: those animation frames that drew; kept: the canvas, as a PNG data URL, left by the one
//    that makes ticks equal keep (read there and then: the browser clears it once shown);
//  - hold: while true, the page's animation-frame callbacks wait (a wave stands still).
(function () {
  var probe = (window.fizzgridProbe = { clears: 0, asks: 0, frames: [], ticks: 0, keep: 0 });
  var clear = WebGLRenderingContext.prototype.clear;
  WebGLRenderingContext.prototype.clear = function () {
    probe.clears++;
    return clear.apply(this, arguments);
  };
  var ask = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    probe.asks++;
    return ask.call(window, function run(time) {
      if (probe.hold) return ask.call(window, run);
      var before = probe.clears;
      try {
        callback(time);
      } finally {
        probe.frames.push([time, probe.clears - before]);
        if (probe.clears > before && ++probe.ticks === probe.keep)
          probe.kept = document.querySelector('canvas').toDataURL();
      }
    });
  };
})();
