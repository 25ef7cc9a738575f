// startup_probe: starts one program on the X display and reports, on one
// line, how long it took to map its first top-level window, how long until
// that window was painted, and the program's peak memory at that moment:
//
//   <map ms> <paint ms> <VmHWM KiB>
//
//   startup_probe <program> [args...]
//
// Why this way: the map is taken from the X server's own MapNotify event
// (the probe listens on the root window before it forks), so it costs the
// program nothing and has no polling delay. "Painted" is when the middle of
// the window is no longer black: the server runs with a black root (Xvfb
// -br) and shows it through a window that has not painted yet, while
// neither measured window is black in its middle. The probe reads an 8 x 8
// block every half millisecond, a round trip of a few microseconds to Xvfb.
// VmHWM (the peak resident set) is read from /proc as soon as the paint is
// seen, before the program is ended; it counts the shared Qt libraries the
// same way for every program.
// The window is found by its _NET_WM_PID, which Qt sets on every top-level
// window. Nothing here depends on which program is measured.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long pidOf(Display* display, Window window) {
  static const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = None;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data) ==
          Success &&
      data && items == 1 && format == 32)
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  if (data)
    XFree(data);
  return pid;
}

std::vector<unsigned long> block(Display* display, Window window, int x, int y) {
  std::vector<unsigned long> pixels;
  XImage* image = XGetImage(display, window, x, y, 8, 8, AllPlanes, ZPixmap);
  if (!image)
    return pixels;
  for (int j = 0; j < 8; ++j)
    for (int i = 0; i < 8; ++i)
      pixels.push_back(XGetPixel(image, i, j));
  XDestroyImage(image);
  return pixels;
}

long peakKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0)
      return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

int ignoreErrors(Display*, XErrorEvent*) { return 0; }  // a window may go while we look at it

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_probe <program> [args...]\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "startup_probe: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(ignoreErrors);
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, False);

  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    std::perror("startup_probe: exec");
    _exit(127);
  }

  auto endChild = [&] {
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
  };
  auto giveUp = [&](const char* why) {
    std::fprintf(stderr, "startup_probe: %s\n", why);
    endChild();
    return 1;
  };

  // The map.
  Window window = None;
  double mapMs = 0;
  while (window == None) {
    if (msSince(start) > 30000)
      return giveUp("no window mapped within 30 s");
    if (waitpid(child, nullptr, WNOHANG) == child)
      return giveUp("the program ended before it showed a window");
    if (!XPending(display)) {
      pollfd fd{ConnectionNumber(display), POLLIN, 0};
      poll(&fd, 1, 50);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    if (event.type == MapNotify && !event.xmap.override_redirect && pidOf(display, event.xmap.window) == child) {
      mapMs = msSince(start);
      window = event.xmap.window;
    }
  }

  // The first paint.
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes))
    return giveUp("the window went away");
  const int x = attributes.width / 2 - 4, y = attributes.height / 2 - 4;
  const unsigned long black = BlackPixel(display, DefaultScreen(display));
  double paintMs = 0;
  for (;;) {
    const std::vector<unsigned long> now = block(display, window, x, y);
    bool painted = false;
    for (unsigned long pixel : now)
      painted = painted || pixel != black;
    if (painted) {
      paintMs = msSince(start);
      break;
    }
    if (msSince(start) > 30000)
      return giveUp("the window was not painted within 30 s");
    usleep(500);
  }
  const long peak = peakKiB(child);

  endChild();
  XCloseDisplay(display);
  std::printf("%.1f %.1f %ld\n", mapMs, paintMs, peak);
  return 0;
}
