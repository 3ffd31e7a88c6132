// The window's name for the desktop (WM_CLASS, _NET_WM_PID) and its own icon, through Xlib.
#include "app/desktop.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cmath>
#include <unistd.h>

// _NET_WM_ICON: width, height, then ARGB pixels row by row; Xlib takes 32-bit items as longs.
static const int iconSize = 48;
static long iconData[2 + iconSize * iconSize];

// An orb of the artwork (data/fizzgrid.svg, 128 units a side) and its radial gradient, which is
// white at a highlight up and to the left, the orb's colour 0.3 of the way out, dark at the rim.
struct IconOrb {
  double x, y, radius;
  unsigned long colour, rim;
  double opacity;
};

static const IconOrb iconOrbs[] = {{34, 34, 14, 0xff4a4a, 0x7a1a1a, 1.0},
                                   {94, 34, 10, 0x4a4aff, 0x1a1a7a, 1.0},
                                   {108, 22, 10, 0x4a4aff, 0x1a1a7a, 1.0},
                                   {34, 94, 22, 0xff4a4a, 0x7a1a1a, 0.85}};

// Each 8-bit channel of `from` moved the fraction t (0 to 1) of the way to `to`.
static unsigned long mixColour(unsigned long from, unsigned long to, double t) {
  unsigned long mixed = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    double a = (from >> shift) & 0xff, b = (to >> shift) & 0xff;
    mixed |= (unsigned long)std::lround(a + (b - a) * t) << shift;
  }
  return mixed;
}

static unsigned long orbColour(const IconOrb &orb, double u, double v) {
  // The gradient is centred at 0.35 of the orb's bounding box and reaches 0.7 of its width.
  double t = std::hypot(u - (orb.x - 0.3 * orb.radius), v - (orb.y - 0.3 * orb.radius)) /
             (1.4 * orb.radius);
  if (t < 0.3) return mixColour(0xffffff, orb.colour, t / 0.3);
  return mixColour(orb.colour, orb.rim, std::fmin((t - 0.3) / 0.7, 1.0));
}

// The artwork's pixel at (u, v) in its own units, as opaque RGB, or 0 (transparent) outside the
// black square's rounded corners (radius 16).
static unsigned long artworkPixel(double u, double v) {
  double cornerX = std::fmax(std::fmax(16 - u, u - 112), 0.0);
  double cornerY = std::fmax(std::fmax(16 - v, v - 112), 0.0);
  if (cornerX * cornerX + cornerY * cornerY > 16 * 16) return 0;
  unsigned long colour = 0x000000;
  bool onTileX = std::fmod(u - 8, 60) < 52, onTileY = std::fmod(v - 8, 60) < 52; // 52 on a 60 pitch
  if (u >= 8 && v >= 8 && onTileX && onTileY) colour = u >= 68 && v >= 68 ? 0xff9999 : 0xb4b4b4;
  for (const IconOrb &orb : iconOrbs)
    if (std::hypot(u - orb.x, v - orb.y) < orb.radius)
      colour = mixColour(colour, orbColour(orb, u, v), orb.opacity);
  return 0xff000000 | colour;
}

static void paintIcon(void) {
  iconData[0] = iconData[1] = iconSize;
  for (int row = 0; row < iconSize; row++)
    for (int column = 0; column < iconSize; column++) // sampled at each pixel's centre
      iconData[2 + row * iconSize + column] =
          artworkPixel((column + 0.5) * 128 / iconSize, (row + 0.5) * 128 / iconSize);
}

static void setCardinals(Display *display, Window window, const char *name, const long *items,
                         int count) {
  XChangeProperty(display, window, XInternAtom(display, name, False), XA_CARDINAL, 32,
                  PropModeReplace, (const unsigned char *)items, count);
}

void nameWindowForDesktop(void) {
  Display *display = glXGetCurrentDisplay();
  Window window = glXGetCurrentDrawable();
  if (display == nullptr || window == None) return;
  static char instanceName[] = "fizzgrid", className[] = "Fizzgrid";
  XClassHint classHint = {instanceName, className};
  XSetClassHint(display, window, &classHint);
  long pid = getpid();
  setCardinals(display, window, "_NET_WM_PID", &pid, 1);
  paintIcon();
  setCardinals(display, window, "_NET_WM_ICON", iconData, 2 + iconSize * iconSize);
}
