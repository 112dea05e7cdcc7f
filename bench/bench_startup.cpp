// Start-up figures of the program against the bare Qt program, measured side
// by side: each round starts every program once (in a rotating order), and
// the medians over the rounds are printed with their ratios. Run it under the
// platform to measure (QT_QPA_PLATFORM=offscreen, or xcb on an X display).
//
//   bench_startup [rounds]     (default 11)
//
// Each program reports, on its standard output, when its first paint reached
// the screen (milliseconds since this launcher started it) and its peak
// resident memory then; the setup program also when its help window did.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Program
{
    std::string name;
    std::string path;
    std::vector<std::string> env; // added to the environment
    std::string arg;              // one argument, or none
};

using Figures = std::map<std::string, double>;

long long monotonicNs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

bool runOnce(const Program& p, Figures& out)
{
    int fds[2];
    if (pipe(fds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    // Qt's start-up chatter would bury the table; BENCH_VERBOSE keeps it.
    if (!std::getenv("BENCH_VERBOSE"))
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    for (const std::string& add : p.env) {
        const std::string key = add.substr(0, add.find('=') + 1);
        env.erase(std::remove_if(env.begin(), env.end(),
                                 [&](const std::string& s) { return s.rfind(key, 0) == 0; }),
                  env.end());
        env.push_back(add);
    }
    const long long t0 = monotonicNs();
    env.push_back("BENCH_T0_NS=" + std::to_string(t0));
    std::vector<char*> envp;
    for (std::string& s : env)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string path = p.path;
    std::string arg = p.arg;
    char* argv[] = {path.data(), arg.empty() ? nullptr : arg.data(), nullptr};

    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), std::strerror(rc));
        return false;
    }
    std::string text;
    char buf[4096];
    for (;;) {
        const ssize_t n = read(fds[0], buf, sizeof buf);
        if (n > 0)
            text.append(buf, size_t(n));
        else if (n == 0 || errno != EINTR)
            break;
    }
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        const size_t eq = line.find('=');
        if (eq != std::string::npos)
            out[line.substr(0, eq)] = std::atof(line.c_str() + eq + 1);
        start = end + 1;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const std::string bin = BENCH_BIN_DIR;
    const std::vector<Program> programs = {
        {"bare (QImage)", bin + "/bench_bare_qimage", {}, ""},
        {"bare (DecodeJpeg)", bin + "/bench_bare_decodejpeg", {}, ""},
        // Not a baseline: the bare program with a menu bar and a line of
        // text, to show what text on a window costs by itself.
        {"bare+text (DJ)", bin + "/bench_bare_decodejpeg", {}, "--text"},
        // The simulated card answers the driver probe, so no warning box waits.
        {"setup", bin + "/bench_startup_setup", {"LD_LIBRARY_PATH=" BENCH_SIM_LIB_DIR}, ""},
    };
    // Warm the file cache once so the first round is not the odd one out.
    for (const Program& p : programs) {
        Figures ignored;
        runOnce(p, ignored);
    }

    std::map<std::string, std::map<std::string, std::vector<double>>> samples;
    for (int r = 0; r < rounds; ++r) {
        for (size_t i = 0; i < programs.size(); ++i) {
            const Program& p = programs[(i + size_t(r)) % programs.size()];
            Figures f;
            if (!runOnce(p, f)) {
                std::fprintf(stderr, "%s failed in round %d\n", p.name.c_str(), r + 1);
                return 1;
            }
            for (const auto& [key, value] : f)
                samples[p.name][key].push_back(value);
        }
    }

    const char* platform = std::getenv("QT_QPA_PLATFORM");
    std::printf("platform %s, medians of %d rounds\n", platform ? platform : "(default)", rounds);
    std::printf("%-20s %16s %16s %14s %14s\n", "program", "first paint ms", "help shown ms",
                "RSS first MiB", "RSS help MiB");
    auto med = [&](const std::string& prog, const std::string& key) {
        return median(samples[prog][key]);
    };
    for (const Program& p : programs) {
        if (p.name != "setup") {
            std::printf("%-20s %16.1f %16s %14.1f %14s\n", p.name.c_str(),
                        med(p.name, "first_paint_ms"), "-",
                        med(p.name, "first_paint_rss_kb") / 1024.0, "-");
            continue;
        }
        std::printf("%-20s %16.1f %16.1f %14.1f %14.1f\n", p.name.c_str(),
                    med(p.name, "first_paint_ms"), med(p.name, "help_shown_ms"),
                    med(p.name, "first_paint_rss_kb") / 1024.0,
                    med(p.name, "help_shown_rss_kb") / 1024.0);
    }
    // Where the time goes: every step each program reported, in order of time.
    std::printf("steps (median ms / peak RSS MiB so far):\n");
    for (const Program& p : programs) {
        std::vector<std::pair<double, std::string>> steps;
        for (const auto& [key, values] : samples[p.name]) {
            if (values.empty())
                continue;
            const size_t at = key.rfind("_ms");
            if (at != std::string::npos && at + 3 == key.size())
                steps.emplace_back(median(values), key.substr(0, at));
        }
        std::sort(steps.begin(), steps.end());
        std::printf("  %-18s", p.name.c_str());
        for (const auto& [ms, key] : steps)
            std::printf(" %s %.1f/%.1f", key.c_str(), ms, med(p.name, key + "_rss_kb") / 1024.0);
        std::printf("\n");
    }
    // Ratios per round (setup against the bare program started in the same
    // round), then their median.
    for (const char* bare : {"bare (QImage)", "bare (DecodeJpeg)", "bare+text (DJ)"}) {
        auto ratio = [&](const std::string& key, const std::string& bareKey) {
            const auto& a = samples["setup"][key];
            const auto& b = samples[bare][bareKey];
            std::vector<double> r;
            for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
                if (b[i] > 0)
                    r.push_back(a[i] / b[i]);
            return median(r);
        };
        std::printf("setup / %-18s first paint %.3f x, help shown %.3f x, peak RSS at help "
                    "shown %.3f x (at first paint %.3f x)\n",
                    bare, ratio("first_paint_ms", "first_paint_ms"),
                    ratio("help_shown_ms", "first_paint_ms"),
                    ratio("help_shown_rss_kb", "first_paint_rss_kb"),
                    ratio("first_paint_rss_kb", "first_paint_rss_kb"));
    }
    return 0;
}
