// Opening a dialog as the user meets it: a program started on an X display with a window
// manager, a key press, and the dialog's first paint. Starts PROGRAM, waits until its
// main window is painted and the process idle, then for each digit given presses
// Ctrl+digit, waits for the first paint of the window that opens, for the process to
// be idle again, and closes that window with Escape. Prints one line per opening, then
// the program's peak resident memory (VmHWM, the dialogs it keeps ready included):
//   wall_ms=W cpu_ms=C
//   peak_kib=K
// The wall time runs from the key press to the first drawing into the new window, both
// read from the X server's clock (a property change of our own just before the key, and
// the new window's first Damage event); the harness's own scheduling adds nothing.
// The CPU time is the program's, all its threads, from just before the key press until
// it is idle after the paint (read from /proc/PID/task/*/schedstat, in nanoseconds).
//   bench_dialog_x DIGITS -- PROGRAM [ARGS...]     (DIGITS: "11" = cold then warm Ctrl+1)
// Run with DISPLAY naming a server with a window manager (bench/run.py starts Xvfb and
// openbox).
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <optional>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

pid_t g_program = 0; // stopped with the harness, however it ends

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "bench_dialog_x: %s\n", what.c_str());
    if (g_program > 0) {
        kill(g_program, SIGKILL);
        waitpid(g_program, nullptr, 0);
    }
    std::exit(1);
}

// CPU time of every thread of the process, in milliseconds.
double cpuMs(pid_t pid) {
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = opendir(dir.c_str());
    if (!d) fail("no process " + std::to_string(pid));
    double ns = 0;
    while (const dirent* e = readdir(d)) {
        if (e->d_name[0] == '.') continue;
        std::ifstream f(dir + "/" + e->d_name + "/schedstat");
        double run = 0;
        if (f >> run) ns += run;
    }
    closedir(d);
    return ns / 1e6;
}

class Harness {
  public:
    Harness() {
        dpy_ = XOpenDisplay(nullptr);
        if (!dpy_) fail("cannot open the display");
        int error = 0, major = 0, minor = 0;
        if (!XDamageQueryExtension(dpy_, &damageEvent_, &error))
            fail("the X server has no Damage extension");
        if (!XTestQueryExtension(dpy_, &error, &error, &major, &minor))
            fail("the X server has no XTest extension");
        root_ = DefaultRootWindow(dpy_);
        XSelectInput(dpy_, root_, SubstructureNotifyMask);
        // A window of our own, never mapped, whose property changes read the server's clock.
        clock_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
        XSelectInput(dpy_, clock_, PropertyChangeMask);
        pidAtom_ = XInternAtom(dpy_, "_NET_WM_PID", False);
        activeAtom_ = XInternAtom(dpy_, "_NET_ACTIVE_WINDOW", False);
        XSync(dpy_, False);
    }

    // Waits until a window manager has announced itself on the root window.
    void waitWindowManager() {
        const Atom check = XInternAtom(dpy_, "_NET_SUPPORTING_WM_CHECK", False);
        for (int k = 0; k < 1000; ++k) {
            Atom type = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            const bool found = XGetWindowProperty(dpy_, root_, check, 0, 1, False, XA_WINDOW, &type,
                                                  &format, &count, &after, &data) == Success &&
                               count == 1;
            if (data) XFree(data);
            if (found) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        fail("no window manager on the display");
    }

    // The server's time now, in milliseconds.
    Time serverTime() {
        const unsigned char byte = 0;
        XChangeProperty(dpy_, clock_, XA_WM_NAME, XA_STRING, 8, PropModeReplace, &byte, 0);
        XFlush(dpy_);
        for (;;) {
            XEvent e;
            XNextEvent(dpy_, &e);
            if (e.type == PropertyNotify && e.xproperty.window == clock_) return e.xproperty.time;
            handle(e);
        }
    }

    // The first paint of a window of the program's never painted before (created ahead
    // and shown only now, or created now); the server time of that paint.
    std::optional<Time> waitFirstPaint(double seconds) {
        const auto end = Clock::now() + std::chrono::duration<double>(seconds);
        while (Clock::now() < end) {
            while (XPending(dpy_)) {
                XEvent e;
                XNextEvent(dpy_, &e);
                if (const auto t = handle(e)) return t;
            }
            // Asleep until the server writes: the program has the processor to itself.
            pollfd fd{ConnectionNumber(dpy_), POLLIN, 0};
            poll(&fd, 1, 50);
        }
        return std::nullopt;
    }

    // Waits until the process has used under 1% of a processor (at least 0.2 ms) over
    // the last `quiet`, handling events: a timer ticking now and then is idle, a
    // program at work is not.
    void waitIdle(std::chrono::milliseconds quiet = std::chrono::milliseconds(60)) {
        const double allowed = std::max(0.2, 0.01 * static_cast<double>(quiet.count()));
        std::deque<std::pair<Clock::time_point, double>> samples{{Clock::now(), cpuMs(pid_)}};
        const auto end = Clock::now() + std::chrono::seconds(20);
        while (Clock::now() < end) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            drain();
            samples.emplace_back(Clock::now(), cpuMs(pid_));
            while (samples.size() > 2 && samples.back().first - samples[1].first >= quiet)
                samples.pop_front();
            if (samples.back().first - samples.front().first >= quiet &&
                samples.back().second - samples.front().second < allowed)
                return;
        }
        fail("the program never became idle");
    }

    void drain() {
        while (XPending(dpy_)) {
            XEvent e;
            XNextEvent(dpy_, &e);
            handle(e);
        }
    }

    // Ctrl+digit, or Escape for digit 0, pressed and released.
    void press(int digit) {
        std::vector<KeySym> keys;
        if (digit == 0) {
            keys = {XK_Escape};
        } else {
            keys = {XK_Control_L, static_cast<KeySym>(XK_0 + digit)};
        }
        for (KeySym k : keys)
            XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, k), True, CurrentTime);
        for (auto k = keys.rbegin(); k != keys.rend(); ++k)
            XTestFakeKeyEvent(dpy_, XKeysymToKeycode(dpy_, *k), False, CurrentTime);
        XFlush(dpy_);
    }

    // Asks the window manager to give the program's main window the keyboard.
    void activate(Window w) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = activeAtom_;
        e.xclient.format = 32;
        e.xclient.data.l[0] = 2; // from a pager: honoured at once
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(dpy_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XFlush(dpy_);
    }

    Window firstPainted() const { return painted_; }
    void setProgram(pid_t pid) { pid_ = pid; }

  private:
    bool ours(Window w) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        bool mine = false;
        if (XGetWindowProperty(dpy_, w, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success &&
            data && count == 1 && format == 32)
            mine = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid_;
        if (data) XFree(data);
        return mine;
    }

    // A window's first paint, also when nobody waits for it (it is then not new later).
    std::optional<Time> handle(const XEvent& e) {
        if (e.type == CreateNotify && !e.xcreatewindow.override_redirect) {
            // Created before it can be drawn into: its first drawing is reported.
            XDamageCreate(dpy_, e.xcreatewindow.window, XDamageReportNonEmpty);
            created_.insert(e.xcreatewindow.window);
        } else if (e.type == damageEvent_ + XDamageNotify) {
            const auto& d = reinterpret_cast<const XDamageNotifyEvent&>(e);
            XDamageSubtract(dpy_, d.damage, None, None);
            if (created_.count(d.drawable) && !everPainted_.count(d.drawable) && ours(d.drawable)) {
                everPainted_.insert(d.drawable);
                painted_ = d.drawable;
                return d.timestamp;
            }
        }
        return std::nullopt;
    }

    pid_t pid_ = 0;
    Display* dpy_ = nullptr;
    Window root_ = 0, clock_ = 0, painted_ = 0;
    Atom pidAtom_ = 0, activeAtom_ = 0;
    int damageEvent_ = 0;
    std::set<Window> created_, everPainted_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || std::strcmp(argv[2], "--") != 0)
        fail("usage: bench_dialog_x DIGITS -- PROGRAM [ARGS...]");
    const std::string digits = argv[1];
    // Watching the root window before the program starts, so that no window is missed.
    Harness x;
    x.waitWindowManager();
    pid_t pid = 0;
    // Its output goes nowhere: the harness's own is read to its end by the caller.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const int spawned = posix_spawn(&pid, argv[3], &quiet, nullptr, argv + 3, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) fail(std::string("cannot start ") + argv[3]);
    g_program = pid;
    x.setProgram(pid);
    if (!x.waitFirstPaint(30)) fail("the program's window was never painted");
    const Window main = x.firstPainted();
    x.activate(main);
    // Settled as when a user reaches for a key: what the program does a moment after
    // its start (building dialogs ahead) is done.
    x.waitIdle(std::chrono::milliseconds(500));
    for (char c : digits) {
        if (c < '1' || c > '9') fail("a digit is 1 to 9");
        const double cpu0 = cpuMs(pid);
        const Time t0 = x.serverTime();
        x.press(c - '0');
        const std::optional<Time> t1 = x.waitFirstPaint(30);
        if (!t1) fail(std::string("no window opened for Ctrl+") + c);
        const double painted = cpuMs(pid);
        x.waitIdle();
        const double cpu1 = cpuMs(pid);
        std::printf("wall_ms=%lu cpu_ms=%.3f paint_cpu_ms=%.3f\n",
                    static_cast<unsigned long>(*t1 - t0), cpu1 - cpu0, painted - cpu0);
        std::fflush(stdout);
        x.press(0);
        x.waitIdle();
    }
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) std::printf("peak_kib=%ld\n", std::stol(line.substr(6)));
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return 0;
}
