// Watches the game's page from outside, for the web tests: run before the page's own script (DevTools'
// Page.addScriptToEvaluateOnNewDocument), so the page ships nothing for its tests.
//  - clears: the frames drawn since the page opened (every frame starts with one WebGL clear); an
//    unchanged count says nothing was drawn, which a picture cannot tell from a frame alike;
//  - asks: the animation frames the page has asked for;
//  - frames: for each animation frame that ran a callback of the page, [its time in ms, the frames
//    drawn in it].
(function () {
  var probe = (window.fizzgridProbe = { clears: 0, asks: 0, frames: [] });
  var clear = WebGLRenderingContext.prototype.clear;
  WebGLRenderingContext.prototype.clear = function () {
    probe.clears++;
    return clear.apply(this, arguments);
  };
  var ask = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    probe.asks++;
    return ask.call(window, function (time) {
      var before = probe.clears;
      try {
        callback(time);
      } finally {
        probe.frames.push([time, probe.clears - before]);
      }
    });
  };
})();
