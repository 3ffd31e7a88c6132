// The X desktop's room where Xlib's own XMapWindow cannot be found, as under a static link: this
// program links x11/desktop.cpp with no Xlib, defining the other Xlib calls that it makes.
#include <gtest/gtest.h> // before Xlib, whose macros (None, Bool) would break it

#include <X11/Xlib.h>
#include <X11/Xutil.h>

extern "C" {
int XSetClassHint(Display *, Window, XClassHint *) { return 1; }
int XChangeProperty(Display *, Window, Atom, Atom, int, int, const unsigned char *, int) {
  return 1;
}
Atom XInternAtom(Display *, const char *, Bool) { return 1; }
}

TEST(X11RoomDeathTest, StopsWithAMessageWhereXlibHasNoXMapWindow) {
  EXPECT_EXIT(XMapWindow(nullptr, 1), testing::ExitedWithCode(1),
              "^fizzgrid: Xlib's XMapWindow not found: ");
}
