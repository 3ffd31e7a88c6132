// The browser's stand-in for the desktop naming of app/desktop.cpp: a page has no window class or
// process id to give, and its title and icon are the page's own (shell.html).
#include "app/desktop.h"

void nameWindowForDesktop(void) {}
