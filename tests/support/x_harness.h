// End-to-end harness: a private Xvfb, the real game as a child process, XTEST keys, pixel reads.
//
// Contract:
// - XServer starts its own Xvfb on a free display (chosen by the server through -displayfd) and
//   connects to it; its destructor closes the connection and kills the server by process id.
// - Game launches a program (by default the game) on that display and owns the process: its
//   destructor kills it by process id and reaps it, so a failing test leaves nothing behind.
//   Children also die with the test process (parent-death signal), should it crash.
// - Every wait polls with a timeout in seconds and returns empty/false on timeout; nothing sleeps
//   for a fixed long time. Captures are of the window's client area, in RGB, top row first.
// - Setup failures (no Xvfb, fork failure, lost connection) throw std::runtime_error.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace xh {

struct Rgb {
  uint8_t r, g, b;
};

// A window capture: width * height pixels, 3 bytes each, rows from the top of the window.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;

  Rgb at(int x, int y) const;
  bool operator==(const Image &other) const;
  bool operator!=(const Image &other) const { return !(*this == other); }
  bool contains(Rgb colour) const;
  // Binary PPM (P6), readable by any image viewer; false if the file cannot be written.
  bool savePpm(const std::string &path) const;
};

// Pixels that differ between two captures of the same size (all of them if sizes differ).
long differingPixels(const Image &a, const Image &b);

class XServer {
public:
  explicit XServer(int screenWidth = 1024, int screenHeight = 768);
  ~XServer();
  XServer(const XServer &) = delete;
  XServer &operator=(const XServer &) = delete;

  const std::string &name() const { return name_; } // ":N", for DISPLAY
  Display *display() const { return display_; }
  // Children of the root window whose WM_NAME is exactly `title`.
  std::vector<Window> topLevelWindows(const std::string &title) const;

private:
  pid_t pid_ = -1;
  std::string name_;
  Display *display_ = nullptr;
};

class Game {
public:
  // Starts `program` (the game's binary when empty) with `args` on `server`'s display. `env`
  // entries are set in the child's environment on top of the inherited one (DISPLAY included,
  // so a test can point it elsewhere). stdout and stderr go to files read by the accessors below.
  Game(XServer &server, std::vector<std::string> args = {},
       std::vector<std::pair<std::string, std::string>> env = {}, std::string program = "");
  ~Game();
  Game(const Game &) = delete;
  Game &operator=(const Game &) = delete;

  static const char *const title; // the game window's title

  pid_t pid() const { return pid_; }
  Window window() const { return window_; }

  // Waits until the one top-level window titled `title` is mapped and remembers it.
  bool waitWindow(double seconds = 10);
  // The window's client area: size, and position of its top-left pixel on the screen.
  struct Geometry {
    int x, y, width, height;
  };
  Geometry geometry() const;

  Image capture() const;
  // Paints the whole window in the sentinel colour. Any frame the game draws afterwards covers it
  // entirely, so "no sentinel pixel" proves that a frame was drawn after this call.
  void markStale() const;
  static constexpr Rgb sentinel{255, 0, 255};
  // The first capture without sentinel pixels that satisfies `accept` (any, when empty).
  std::optional<Image> waitFrame(const std::function<bool(const Image &)> &accept = {},
                                 double seconds = 10) const;
  // Like waitFrame, and also unchanged in a second capture `quietMs` later. A slow frame looks
  // settled too (the first winner frame builds a large display list for ~200 ms), so prefer an
  // `accept` that only the awaited picture passes.
  std::optional<Image> waitSettled(const std::function<bool(const Image &)> &accept = {},
                                   double seconds = 10, int quietMs = 60) const;
  // A frame identical to `expected`, pixel for pixel.
  bool waitImage(const Image &expected, double seconds = 10) const;

  // Keys by X keysym (XK_Left, XK_Return, XK_q, XK_Q ...): the pointer is moved over the window
  // and focus given to it first; Shift is held for keysyms that need it. tap = press + release.
  void press(unsigned long keysym) const;
  void release(unsigned long keysym) const;
  void tap(unsigned long keysym) const;
  void tap(std::initializer_list<unsigned long> keysyms) const;

  void resize(int width, int height) const; // returns once the server has applied the size
  void requestClose() const;                // WM_DELETE_WINDOW, as a window manager sends it
  void pause() const;                       // SIGSTOP: events queue up unread
  void resume() const;                      // SIGCONT

  // Exit code once the process has ended (128 + signal number if a signal ended it).
  std::optional<int> waitExit(double seconds = 10);
  std::string stdoutText() const;
  std::string stderrText() const;

private:
  void focusAndPoint() const;

  XServer &server_;
  pid_t pid_ = -1;
  std::optional<int> exitCode_;
  Window window_ = 0;
  int stdoutFile_, stderrFile_; // unlinked temporary files
};

} // namespace xh
