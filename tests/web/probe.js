// The web tests' watch on the page, run before its script. clears: frames drawn (one WebGL clear
// each: a picture cannot tell none from one alike); asks: animation frames asked for; frames:
// [time in ms, frames drawn] of each run; ticks: those that drew; kept: the canvas after the one
// making ticks equal keep, read then (the browser clears it once shown); hold: callbacks wait.
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
