// The turn and burst sequencer: one call of idle is one tick of the burst animation.
//
// Registered by main with glutIdleFunc, so the toolkit calls it whenever no event waits; tests call
// it directly. During a wave (PHASE_BURST_GROW, PHASE_BURST_SHRINK) every tick sways the camera by
// one unit, steps burstStep, spreads the orbs at step 10, decides the end of the wave at step 0 and
// draws one frame. Outside a wave a tick only returns the camera to rest (one frame), once.
// There is no clock: a wave lasts 19 ticks however fast they come.
#pragma once

void idle(void);
