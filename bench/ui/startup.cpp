// Start-up time: from the start of a fresh process to the end of the main
// window's first paint, offscreen. The program starts itself again and again
// as a child that runs the application's start-up (single-instance lock,
// application object, main window), reports the monotonic time at which its
// first paint ended and quits; the parent takes the time just before the
// spawn. Prints the minimum, median and maximum over the runs.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "calendarapp.h"
#include "calendardlg.h"
#include "platform/singleinstance.h"

extern char** environ;

namespace {

constexpr const char* ChildFlag = "--first-paint-child";

long long MonotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<long long>(ts.tv_sec) * 1'000'000'000LL + ts.tv_nsec;
}

// The main window, noting when its first paint is done.
class FirstPaintDlg : public CCalendarDlg {
protected:
    void paintEvent(QPaintEvent* event) override
    {
        CCalendarDlg::paintEvent(event);
        if (m_reported) return;
        m_reported = true;
        std::printf("%lld\n", MonotonicNs());
        std::fflush(stdout);
        QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
    }

private:
    bool m_reported = false;
};

// What CCalendarApp::Run does, with the window above in place of the plain one.
int Child(int argc, char** argv)
{
    const CSingleInstance instance(QStringLiteral("QOVOnlyOne"));
    if (instance.AnotherIsRunning()) return 2;
    CCalendarApp app(argc, argv);
    FirstPaintDlg dlg;
    dlg.exec();
    return 0;
}

// Runs one child; returns nanoseconds from just before the spawn to the end
// of its first paint, or -1.
long long OneRun(const char* self)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* const args[] = {const_cast<char*>(self), const_cast<char*>(ChildFlag), nullptr};
    pid_t pid = 0;
    const long long start = MonotonicNs();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return -1;
    }
    std::string out;
    char chunk[64];
    ssize_t n = 0;
    while ((n = read(pipeFds[0], chunk, sizeof chunk)) > 0)
        out.append(chunk, static_cast<size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty()) return -1;
    return std::stoll(out) - start;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], ChildFlag) == 0) return Child(argc, argv);

    int runs = 20;
    if (argc > 1) runs = std::max(1, std::atoi(argv[1]));
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // A runtime directory of our own: a calendar running for this user must
    // not make the children the second copy.
    char runtime[] = "/tmp/qov-startup-XXXXXX";
    if (mkdtemp(runtime) == nullptr) return 1;
    setenv("XDG_RUNTIME_DIR", runtime, 1);

    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const long long ns = OneRun(argv[0]);
        if (ns < 0) break;
        ms.push_back(static_cast<double>(ns) / 1e6);
    }
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    if (ms.size() != static_cast<std::size_t>(runs)) {
        std::fprintf(stderr, "run %zu failed\n", ms.size());
        return 1;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("process start to end of first paint, %d runs: min %.1f ms, median %.1f ms, "
                "max %.1f ms\n",
        runs, ms.front(), ms[ms.size() / 2], ms.back());
    return 0;
}
