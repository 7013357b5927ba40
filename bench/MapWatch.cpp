// Times programs from their start to their first top-level window being mapped on the X display,
// from outside: the watcher sees the display's own map notification, so nothing the program says
// about itself enters the figure. Commands are run in turn, one run of each per round, so that a
// change of load on the machine falls on all of them alike.
//   vextor-mapwatch [--runs N] [--timeout-ms MS] CMD [ARG...] [:: CMD [ARG...]]...
// Prints per command the median, the fastest and the slowest, and the median processor time the
// program had had when its window was mapped (less disturbed by a busy machine than the time); with
// two or more commands also each median against the first command's.
#include <X11/Xlib.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
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

// The processor time all threads of a process have had so far, in ms: what its start cost, whatever
// else the machine was doing meanwhile.
double cpuMs(pid_t pid) {
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = ::opendir(tasks.c_str());
    if (!dir)
        return 0;
    double ns = 0;
    while (const dirent* d = ::readdir(dir)) {
        if (d->d_name[0] == '.')
            continue;
        if (FILE* f = std::fopen((tasks + "/" + d->d_name + "/schedstat").c_str(), "r")) {
            unsigned long long onCpu = 0;
            if (std::fscanf(f, "%llu", &onCpu) == 1)
                ns += double(onCpu);
            std::fclose(f);
        }
    }
    ::closedir(dir);
    return ns / 1e6;
}

struct Run {
    double ms = -1;  // from the start to the map
    double cpu = -1; // processor time the program had by then
};

// One run: start the command, wait for the first map of a window of its own on the root (a menu,
// tooltip or splash that bypasses the window manager does not count), end the program. ms -1 on
// timeout.
Run timeOneRun(Display* display, const std::vector<char*>& argv, int timeoutMs) {
    // Whatever is still queued belongs to the previous run.
    XSync(display, True);
    const Clock::time_point t0 = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0)
        return {};
    if (pid == 0) {
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "vextor-mapwatch: cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(127);
    }
    Run result;
    const int fd = ConnectionNumber(display);
    while (result.ms < 0 && msSince(t0) < timeoutMs) {
        while (XPending(display) > 0) {
            XEvent e;
            XNextEvent(display, &e);
            if (e.type == MapNotify && !e.xmap.override_redirect) {
                result.ms = msSince(t0);
                result.cpu = cpuMs(pid);
                break;
            }
        }
        if (result.ms >= 0)
            break;
        if (::waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "vextor-mapwatch: %s ended before it showed a window\n", argv[0]);
            return {};
        }
        pollfd p{fd, POLLIN, 0};
        ::poll(&p, 1, 5);
    }
    endChild(pid);
    return result;
}

std::vector<double> sorted(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v;
}

double median(const std::vector<double>& t) {
    return t.size() % 2 ? t[t.size() / 2] : (t[t.size() / 2 - 1] + t[t.size() / 2]) / 2.0;
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

    std::vector<std::vector<double>> times(commands.size()), cpu(commands.size());
    for (int r = 0; r < runs; ++r) {
        for (size_t c = 0; c < commands.size(); ++c) {
            const Run run = timeOneRun(display, commands[c], timeoutMs);
            if (run.ms < 0) {
                std::fprintf(stderr, "vextor-mapwatch: %s showed no window\n", commands[c][0]);
                return 1;
            }
            times[c].push_back(run.ms);
            cpu[c].push_back(run.cpu);
        }
    }
    std::vector<double> medians, cpuMedians;
    for (size_t c = 0; c < commands.size(); ++c) {
        const std::vector<double> t = sorted(times[c]);
        medians.push_back(median(t));
        cpuMedians.push_back(median(sorted(cpu[c])));
        std::printf("%-28s median %6.1f ms  (min %6.1f  max %6.1f)  processor %6.1f ms  (%zu runs)\n",
                    label(commands[c]).c_str(), medians[c], t.front(), t.back(), cpuMedians[c], t.size());
    }
    for (size_t c = 1; c < commands.size(); ++c)
        std::printf("%-28s %.2fx the first's time, %.2fx its processor time\n", label(commands[c]).c_str(),
                    medians[c] / medians[0], cpuMedians[c] / cpuMedians[0]);
    XCloseDisplay(display);
    return 0;
}
