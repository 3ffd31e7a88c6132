// End-to-end harness: Xvfb and game processes, XTEST key events and window captures.
#include "x_harness.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace xh {
namespace {

const int pollMs = 5; // between captures and status checks while waiting

double now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void sleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// X errors are expected (the window vanishes when the game quits); callers look at results.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

// fork + exec, the child bound to our lifetime. `prepare` runs in the child between fork and exec;
// the test process has one thread, so even setenv is safe there.
pid_t spawn(const std::string &program, const std::vector<std::string> &args,
            const std::function<void()> &prepare) {
  std::vector<char *> argv;
  argv.push_back(const_cast<char *>(program.c_str()));
  for (const std::string &arg : args)
    argv.push_back(const_cast<char *>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t parent = getpid();
  pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed: " + std::string(strerror(errno)));
  if (pid == 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127); // the test process is already gone
    prepare();
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  return pid;
}

void redirect(int fd, const char *path) {
  int file = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (file >= 0) {
    dup2(file, fd);
    close(file);
  }
}

// An anonymous temporary file: unlinked at once, so nothing is left behind even if we crash.
int makeTempFile() {
  char path[] = "/tmp/fizzgrid-e2e-XXXXXX";
  int fd = mkostemp(path, O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot create a temporary file");
  unlink(path);
  return fd;
}

std::string readAll(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t got;
  for (off_t at = 0; (got = pread(fd, buffer, sizeof buffer, at)) > 0; at += got)
    text.append(buffer, size_t(got));
  return text;
}

// Waits for the child's status; -1 if it has not ended within `seconds`.
int reap(pid_t pid, double seconds) {
  double deadline = now() + seconds;
  for (;;) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    if (done < 0) return 255; // not our child any more; nothing to wait for
    if (now() >= deadline) return -1;
    sleepMs(pollMs);
  }
}

void killAndReap(pid_t pid, int signal) {
  kill(pid, signal);
  if (reap(pid, 2) < 0) {
    kill(pid, SIGKILL);
    reap(pid, 5);
  }
}

// Position and width of a channel within a pixel value, for TrueColor visuals.
struct Channel {
  int shift = 0, bits = 0;
  explicit Channel(unsigned long mask) {
    while (mask && !(mask & 1))
      mask >>= 1, shift++;
    while (mask & 1)
      mask >>= 1, bits++;
  }
  uint8_t get(unsigned long pixel) const {
    unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
    return bits >= 8 ? uint8_t(value >> (bits - 8)) : uint8_t(value * 255 / ((1ul << bits) - 1));
  }
  unsigned long put(uint8_t value) const {
    unsigned long scaled = bits >= 8 ? (unsigned long)value << (bits - 8) : value >> (8 - bits);
    return scaled << shift;
  }
};

} // namespace

// ---- Image --------------------------------------------------------------------------------

Rgb Image::at(int x, int y) const {
  const uint8_t *p = &rgb[(size_t(y) * width + x) * 3];
  return {p[0], p[1], p[2]};
}

bool Image::operator==(const Image &other) const {
  return width == other.width && height == other.height && rgb == other.rgb;
}

bool Image::contains(Rgb colour) const {
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) {
    if (rgb[i] == colour.r && rgb[i + 1] == colour.g && rgb[i + 2] == colour.b) return true;
  }
  return false;
}

bool Image::savePpm(const std::string &path) const {
  FILE *file = fopen(path.c_str(), "wb");
  if (!file) return false;
  fprintf(file, "P6\n%d %d\n255\n", width, height);
  bool ok = fwrite(rgb.data(), 1, rgb.size(), file) == rgb.size();
  return fclose(file) == 0 && ok;
}

long differingPixels(const Image &a, const Image &b) {
  if (a.width != b.width || a.height != b.height)
    return long(std::max(a.rgb.size(), b.rgb.size()) / 3);
  long count = 0;
  for (size_t i = 0; i < a.rgb.size(); i += 3) {
    if (memcmp(&a.rgb[i], &b.rgb[i], 3) != 0) count++;
  }
  return count;
}

// ---- XServer ------------------------------------------------------------------------------

XServer::XServer(int screenWidth, int screenHeight) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::string screen = std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24";
  // -noreset: without it the server resets when its last client leaves and refuses the next.
  std::vector<std::string> args = {
      "-displayfd", std::to_string(fds[1]), "-noreset", "-nolisten", "tcp", "-screen", "0", screen};
  pid_ = spawn(XVFB_PATH, args, [&] {
    fcntl(fds[1], F_SETFD, 0); // the write end must survive exec
    redirect(STDOUT_FILENO, "/dev/null");
    redirect(STDERR_FILENO, "/dev/null");
  });
  close(fds[1]);

  // Xvfb writes its display number once it accepts connections.
  std::string number;
  double deadline = now() + 20;
  while (number.empty() || number.back() != '\n') {
    pollfd readable{fds[0], POLLIN, 0};
    int wait = int((deadline - now()) * 1000);
    char buffer[16];
    ssize_t got =
        wait > 0 && poll(&readable, 1, wait) > 0 ? read(fds[0], buffer, sizeof buffer) : 0;
    if (got <= 0) break;
    number.append(buffer, size_t(got));
  }
  close(fds[0]);
  if (number.empty() || number.back() != '\n') {
    killAndReap(pid_, SIGKILL);
    throw std::runtime_error("Xvfb did not report a display number");
  }
  name_ = ":" + number.substr(0, number.size() - 1);
  XSetErrorHandler(ignoreXError);
  display_ = XOpenDisplay(name_.c_str());
  int event, error, major, minor;
  if (!display_ || !XTestQueryExtension(display_, &event, &error, &major, &minor)) {
    if (display_) XCloseDisplay(display_);
    killAndReap(pid_, SIGKILL);
    throw std::runtime_error("cannot use the X server on " + name_);
  }
}

XServer::~XServer() {
  XCloseDisplay(display_);
  killAndReap(pid_, SIGTERM);
}

std::vector<Window> XServer::topLevelWindows(const std::string &title) const {
  std::vector<Window> found;
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count))
    return found;
  for (unsigned i = 0; i < count; i++) {
    char *name = nullptr;
    if (XFetchName(display_, children[i], &name) && name) {
      if (title == name) found.push_back(children[i]);
      XFree(name);
    }
  }
  if (children) XFree(children);
  return found;
}

// ---- Game ---------------------------------------------------------------------------------

const char *const Game::title = "Fizzgrid -- Quillon Final Project";

Game::Game(XServer &server, std::vector<std::string> args,
           std::vector<std::pair<std::string, std::string>> env, std::string program)
    : server_(server), stdoutFile_(makeTempFile()), stderrFile_(makeTempFile()) {
  if (program.empty()) program = FIZZGRID_BINARY;
  env.insert(env.begin(), {"DISPLAY", server.name()}); // later entries may override it
  pid_ = spawn(program, args, [&] {
    for (const auto &[key, value] : env)
      setenv(key.c_str(), value.c_str(), 1);
    dup2(stdoutFile_, STDOUT_FILENO);
    dup2(stderrFile_, STDERR_FILENO);
  });
}

Game::~Game() {
  if (!exitCode_) killAndReap(pid_, SIGKILL); // also ends a paused process
  close(stdoutFile_);
  close(stderrFile_);
}

bool Game::waitWindow(double seconds) {
  Display *dpy = server_.display();
  double deadline = now() + seconds;
  for (;;) {
    std::vector<Window> windows = server_.topLevelWindows(title);
    XWindowAttributes attributes;
    if (windows.size() == 1 && XGetWindowAttributes(dpy, windows[0], &attributes) &&
        attributes.map_state == IsViewable) {
      window_ = windows[0];
      return true;
    }
    if (now() >= deadline) return false;
    sleepMs(pollMs);
  }
}

Game::Geometry Game::geometry() const {
  Display *dpy = server_.display();
  XWindowAttributes attributes{};
  int x = 0, y = 0;
  Window child;
  if (!XGetWindowAttributes(dpy, window_, &attributes)) return {0, 0, 0, 0};
  XTranslateCoordinates(dpy, window_, DefaultRootWindow(dpy), 0, 0, &x, &y, &child);
  return {x, y, attributes.width, attributes.height};
}

Image Game::capture() const {
  Image image;
  Geometry size = geometry();
  if (size.width <= 0 || size.height <= 0) return image;
  XImage *shot = XGetImage(server_.display(), window_, 0, 0, unsigned(size.width),
                           unsigned(size.height), AllPlanes, ZPixmap);
  if (!shot) return image;
  Channel red(shot->red_mask), green(shot->green_mask), blue(shot->blue_mask);
  image.width = size.width;
  image.height = size.height;
  image.rgb.resize(size_t(size.width) * size.height * 3);
  uint8_t *out = image.rgb.data();
  for (int y = 0; y < size.height; y++) {
    for (int x = 0; x < size.width; x++) {
      unsigned long pixel = XGetPixel(shot, x, y);
      *out++ = red.get(pixel);
      *out++ = green.get(pixel);
      *out++ = blue.get(pixel);
    }
  }
  XDestroyImage(shot);
  return image;
}

void Game::markStale() const {
  Display *dpy = server_.display();
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(dpy, window_, &attributes)) return;
  const Visual *visual = attributes.visual;
  XGCValues values;
  values.foreground = Channel(visual->red_mask).put(sentinel.r) |
                      Channel(visual->green_mask).put(sentinel.g) |
                      Channel(visual->blue_mask).put(sentinel.b);
  GC gc = XCreateGC(dpy, window_, GCForeground, &values);
  XFillRectangle(dpy, window_, gc, 0, 0, unsigned(attributes.width), unsigned(attributes.height));
  XFreeGC(dpy, gc);
  XSync(dpy, False);
}

std::optional<Image> Game::waitFrame(const std::function<bool(const Image &)> &accept,
                                     double seconds) const {
  double deadline = now() + seconds;
  for (;;) {
    Image image = capture();
    if (image.width > 0 && !image.contains(sentinel) && (!accept || accept(image))) return image;
    if (now() >= deadline) return std::nullopt;
    sleepMs(pollMs);
  }
}

std::optional<Image> Game::waitSettled(const std::function<bool(const Image &)> &accept,
                                       double seconds, int quietMs) const {
  double deadline = now() + seconds;
  for (;;) {
    std::optional<Image> first = waitFrame(accept, std::max(0.0, deadline - now()));
    if (!first) return std::nullopt;
    sleepMs(quietMs);
    if (capture() == *first) return first;
    if (now() >= deadline) return std::nullopt;
  }
}

bool Game::waitImage(const Image &expected, double seconds) const {
  return waitFrame([&](const Image &image) { return image == expected; }, seconds).has_value();
}

void Game::focusAndPoint() const {
  Display *dpy = server_.display();
  Geometry where = geometry();
  // No window manager gives focus: keys go to the window under the pointer, or to the focus.
  XTestFakeMotionEvent(dpy, DefaultScreen(dpy), where.x + where.width / 2,
                       where.y + where.height / 2, CurrentTime);
  XSetInputFocus(dpy, window_, RevertToPointerRoot, CurrentTime);
}

namespace {
struct KeyStroke {
  KeyCode code, shift; // shift is 0 when the keysym needs no Shift
};

KeyStroke strokeFor(Display *dpy, unsigned long keysym) {
  KeyCode code = XKeysymToKeycode(dpy, KeySym(keysym));
  if (code == 0) throw std::runtime_error("no key for keysym " + std::to_string(keysym));
  bool unshifted = XkbKeycodeToKeysym(dpy, code, 0, 0) == KeySym(keysym);
  return {code, unshifted ? KeyCode(0) : XKeysymToKeycode(dpy, XK_Shift_L)};
}
} // namespace

void Game::press(unsigned long keysym) const {
  Display *dpy = server_.display();
  KeyStroke stroke = strokeFor(dpy, keysym);
  focusAndPoint();
  if (stroke.shift) XTestFakeKeyEvent(dpy, stroke.shift, True, CurrentTime);
  XTestFakeKeyEvent(dpy, stroke.code, True, CurrentTime);
  XSync(dpy, False);
}

void Game::release(unsigned long keysym) const {
  Display *dpy = server_.display();
  KeyStroke stroke = strokeFor(dpy, keysym);
  XTestFakeKeyEvent(dpy, stroke.code, False, CurrentTime);
  if (stroke.shift) XTestFakeKeyEvent(dpy, stroke.shift, False, CurrentTime);
  XSync(dpy, False);
}

void Game::tap(unsigned long keysym) const {
  press(keysym);
  release(keysym);
}

void Game::tap(std::initializer_list<unsigned long> keysyms) const {
  for (unsigned long keysym : keysyms)
    tap(keysym);
}

void Game::resize(int width, int height) const {
  XResizeWindow(server_.display(), window_, unsigned(width), unsigned(height));
  XSync(server_.display(), False);
}

void Game::requestClose() const {
  Display *dpy = server_.display();
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window_;
  event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy, window_, False, NoEventMask, &event);
  XSync(dpy, False);
}

void Game::pause() const { kill(pid_, SIGSTOP); }
void Game::resume() const { kill(pid_, SIGCONT); }

std::optional<int> Game::waitExit(double seconds) {
  if (!exitCode_) {
    int code = reap(pid_, seconds);
    if (code >= 0) exitCode_ = code;
  }
  return exitCode_;
}

std::string Game::stdoutText() const { return readAll(stdoutFile_); }
std::string Game::stderrText() const { return readAll(stderrFile_); }

} // namespace xh
