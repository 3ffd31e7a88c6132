// Names the game's window for the desktop, so that docks and task switchers match it to its menu
// entry and show its icon.
//
// Called once by main, right after the window is made, while its GL context is current. Reads the
// X display and window of that context; writes the window's WM_CLASS (instance "fizzgrid", class
// "Fizzgrid", the desktop entry's StartupWMClass), _NET_WM_PID, WM_CLIENT_MACHINE and _NET_WM_ICON.
// Does nothing where the context is not on an X display. Touches no game state.
#pragma once

void nameWindowForDesktop(void);
