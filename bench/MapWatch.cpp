// Times programs from their start to their first top-level window being mapped on the X display,
// from outside: the watcher sees the display's own map notification, so nothing the program says
// about itself enters the figure. Commands are run in turn, one run of each per round, so that a
// change of load on the machine falls on all of them alike.
//   vextor-mapwatch [--runs N] [--timeout-ms MS] CMD [ARG...] [:: CMD [ARG...]]...
// Prints every run and, per command, the median, the fastest and the slowest; with two or more
// commands also each median against the first command's.
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

int usage() {
    std::fprintf(stderr,
                 "usage: vextor-mapwatch [--runs N] [--timeout-ms MS] CMD [ARG...] [:: CMD [ARG...]]...\n");
    return 2;
}

void endChild(pid_t pid) {
    ::kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) {
        if (::waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        ::usleep(10000);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
}

// One run: start the command, wait for the first map of a window of its own on the root (a menu,
// tooltip or splash that bypasses the window manager does not count), end the program. -1 on timeout.
double timeOneRun(Display* display, const std::vector<char*>& argv, int timeoutMs) {
    // Whatever is still queued belongs to the previous run.
    XSync(display, True);
    const Clock::time_point t0 = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0)
        return -1;
    if (pid == 0) {
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "vextor-mapwatch: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    double result = -1;
    const int fd = ConnectionNumber(display);
    while (result < 0 && msSince(t0) < timeoutMs) {
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                result = msSince(t0);
                break;
            }
        }
        if (result >= 0)
            break;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "vextor-mapwatch: %s ended before it showed a window\n", argv[0]);
            return -1;
        }
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 5);
    }
    endChild(pid);
    return result;
}

// The program's name without its folder, and its arguments.
std::string label(const std::vector<char*>& argv) {
    const char* slash = std::strrchr(argv[0], '/');
    std::string s = slash ? slash + 1 : argv[0];
    for (size_t i = 1; i < argv.size() && argv[i]; ++i)
        s += std::string(" ") + argv[i];
    return s;
}

} // namespace

int main(int argc, char** argv) {
    int runs = 16;
    int timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            runs = std::atoi(argv[++i]);
        else if (a == "--timeout-ms" && i + 1 < argc)
            timeoutMs = std::atoi(argv[++i]);
        else
            break;
    }
    std::vector<std::vector<char*>> commands(1);
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "::") == 0)
            commands.emplace_back();
        else
            commands.back().push_back(argv[i]);
    }
    if (runs < 1 || std::any_of(commands.begin(), commands.end(), [](const auto& c) { return c.empty(); }))
        return usage();
    for (auto& c : commands)
        c.push_back(nullptr);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "vextor-mapwatch: no X display\n");
        return 1;
    }
    // Without a window manager a program's top-level windows are the root's children.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);

    std::vector<std::vector<double>> times(commands.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t c = 0; c < commands.size(); ++c) {
            const double t = timeOneRun(display, commands[c], timeoutMs);
            if (t < 0) {
                std::fprintf(stderr, "vextor-mapwatch: %s showed no window\n", commands[c][0]);
                return 1;
            }
            times[c].push_back(t);
        }
    }
    std::vector<double> medians;
    for (size_t c = 0; c < commands.size(); ++c) {
        std::vector<double>& t = times[c];
        std::sort(t.begin(), t.end());
        const double median = t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2.0;
        medians.push_back(median);
        std::printf("%-34s median %7.1f ms   min %7.1f   max %7.1f   (%zu runs)\n",
                    label(commands[c]).c_str(), median, t.front(), t.back(), t.size());
    }
    for (size_t c = 1; c < commands.size(); ++c)
        std::printf("%-34s %.2fx the first\n", label(commands[c]).c_str(), medians[c] / medians[0]);
    XCloseDisplay(display);
    return 0;
}
