// Time from launching the game to its window being mapped and to its first frame being on screen,
// on the X display named by DISPLAY.
//
//   fizzgrid_launch_time PATH-TO-FIZZGRID RUNS
//
// Prints one line per launch and then the medians as "median map_ms N" and "median frame_ms N".
// The first frame counts as shown when a pixel inside the cursor tile turns from black to lit while
// a pixel of the background beside the board stays black. Expects a black root window (Xvfb -br),
// so that nothing but the game can light that pixel. Each game is ended with SIGTERM.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

using Clock = std::chrono::steady_clock;

static double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

static unsigned long pixelAt(Display *display, Window window, int x, int y) {
  XImage *image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0;
  unsigned long pixel = XGetPixel(image, 0, 0) & 0xffffff;
  XDestroyImage(image);
  return pixel;
}

static int ignoreXErrors(Display *, XErrorEvent *) { return 0; } // the window may vanish

static double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s PATH-TO-FIZZGRID RUNS\n", argv[0]);
    return 2;
  }
  Display *display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(ignoreXErrors);
  Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  std::vector<double> mapTimes, frameTimes;
  for (int run = 0; run < std::atoi(argv[2]); run++) {
    XSync(display, True); // drop events of earlier games
    char *gameArgv[] = {argv[1], nullptr};
    pid_t game;
    Clock::time_point start = Clock::now();
    if (posix_spawn(&game, argv[1], nullptr, nullptr, gameArgv, environ) != 0) {
      std::perror(argv[1]);
      return 1;
    }
    Window window = 0;
    double mapped = -1, shown = -1;
    while (millisecondsSince(start) < 20000 && shown < 0) {
      while (window == 0 && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && event.xmap.event == root) {
          mapped = millisecondsSince(start);
          window = event.xmap.window;
        }
      }
      // Cursor tile (4, 4) at rest lies about 29 px right of and above the centre of the 600 px
      // window; the corner at (5, 5) is background.
      if (window != 0 && pixelAt(display, window, 329, 271) != 0 &&
          pixelAt(display, window, 5, 5) == 0)
        shown = millisecondsSince(start);
      else
        usleep(500);
    }
    kill(game, SIGTERM);
    waitpid(game, nullptr, 0);
    if (shown < 0) {
      std::fprintf(stderr, "launch %d: no frame seen within 20 s\n", run + 1);
      return 1;
    }
    std::printf("launch %d: mapped %.1f ms, first frame %.1f ms\n", run + 1, mapped, shown);
    mapTimes.push_back(mapped);
    frameTimes.push_back(shown);
  }
  std::printf("median map_ms %.1f\nmedian frame_ms %.1f\n", median(mapTimes), median(frameTimes));
  XCloseDisplay(display);
  return 0;
}
