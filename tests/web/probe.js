// Watches the game's page for the web tests, run before the page's own script (DevTools'
// Page.addScriptToEvaluateOnNewDocument), so the page ships nothing for its tests. clears: frames
// drawn (each starts with one WebGL clear; a picture cannot tell no frame from one alike); asks:
// animation frames asked for; frames: [time in ms, frames drawn] of each one run; ticks: those that
// drew; kept: the canvas (PNG data URL) after the one making ticks equal keep, read there and then
// as the browser clears it once shown; hold: while true, the page's callbacks wait (a wave stands).
(function () {
  var probe = (window.fizzgridProbe = { clears: 0, asks: 0, frames: [], ticks: 0, keep: 0 });
  var clear = WebGLRenderingContext.prototype.clear, ask = window.requestAnimationFrame;
  WebGLRenderingContext.prototype.clear = function () {
    probe.clears++;
    return clear.apply(this, arguments);
  };
  window.requestAnimationFrame = function (callback) {
    probe.asks++;
    return ask.call(window, function run(time) {
      if (probe.hold) return ask.call(window, run);
      var before = probe.clears;
      callback(time); // a throw is a console error, which fails the test anyway
      probe.frames.push([time, probe.clears - before]);
      if (probe.clears > before && ++probe.ticks === probe.keep)
        probe.kept = document.querySelector('canvas').toDataURL();
    });
  };
})();
