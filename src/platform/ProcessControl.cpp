#include "platform/ProcessControl.h"

#include <QProcess>
#include <QStringList>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace {

std::string Canonical(const std::string &path)
{
    char buf[PATH_MAX];
    return realpath(path.c_str(), buf) ? std::string(buf) : path;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

std::string ProcessExecutable(int pid)
{
    char buf[PATH_MAX];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    ssize_t n = readlink(link.c_str(), buf, sizeof(buf) - 1);
    if (n <= 0)
        return {};
    std::string exe(buf, static_cast<size_t>(n));
    const std::string deleted = " (deleted)";
    if (exe.size() > deleted.size() && exe.compare(exe.size() - deleted.size(), deleted.size(), deleted) == 0)
        exe.resize(exe.size() - deleted.size());
    return exe;
}

TEndProcessResult EndProcessAndWait(int pid, const std::string &expectedExecutable, int settleMs, int waitMs)
{
    if (pid <= 0)
        return TEndProcessResult::NotRunning;
    // A process handle first, so the id cannot be reused between the check and the kill.
    Fd pidfd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (pidfd.get() < 0)
        return TEndProcessResult::NotRunning;
    if (ProcessExecutable(pid) != Canonical(expectedExecutable))
        return TEndProcessResult::NotRunning;
    if (syscall(SYS_pidfd_send_signal, pidfd.get(), SIGKILL, nullptr, 0) != 0)
        return TEndProcessResult::NotRunning;
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    pollfd p{pidfd.get(), POLLIN, 0};
    const int r = poll(&p, 1, waitMs);
    if (r == 0)
        return TEndProcessResult::TimedOut;
    return r > 0 ? TEndProcessResult::Ended : TEndProcessResult::WaitFailed;
}

bool StartProgram(const std::string &program, const std::vector<std::string> &args)
{
    QStringList list;
    for (const auto &a : args)
        list << QString::fromStdString(a);
    // The program outlives us: it must not write into our standard streams,
    // whose reader may be gone by then.
    QProcess process;
    process.setProgram(QString::fromStdString(program));
    process.setArguments(list);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    return process.startDetached();
}
