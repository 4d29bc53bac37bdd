#include "TestSupport.h"

#include <QCoreApplication>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

TempDir::TempDir()
{
    std::string tmpl = (std::filesystem::temp_directory_path() / "orvane-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = tmpl + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ReadFileBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteFileBytes(const std::string &path, const std::string &bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool FileExists(const std::string &path) { return std::filesystem::exists(path); }

XvfbServer::XvfbServer()
{
    std::mt19937 rng(static_cast<unsigned>(getpid()) ^ static_cast<unsigned>(time(nullptr)));
    for (int attempt = 0; attempt < 10 && pid_ < 0; ++attempt) {
        const int n = 100 + static_cast<int>(rng() % 800);
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
        if (FileExists(socket) || FileExists("/tmp/.X" + std::to_string(n) + "-lock"))
            continue;
        const std::string display = ":" + std::to_string(n);
        pid_t pid = fork();
        if (pid == 0) {
            execlp("Xvfb", "Xvfb", display.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                   static_cast<char *>(nullptr));
            _exit(127);
        }
        if (WaitUntil([&] { return FileExists(socket) || waitpid(pid, nullptr, WNOHANG) == pid; }, 10000) &&
            FileExists(socket) && kill(pid, 0) == 0) {
            pid_ = pid;
            display_ = display;
        } else {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
}

XvfbServer::~XvfbServer()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (!WaitUntil([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }, 5000)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
}

std::string RunCommand(const std::string &command)
{
    std::string out;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

bool WaitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

ProgramFolder::ProgramFolder()
{
    std::filesystem::copy_file(std::string(ORVANE_PROGRAM_DIR) + "/orvane", Exe());
    std::filesystem::create_directories(Runtime());
    chmod(Runtime().c_str(), 0700);
}

PulseServer::PulseServer()
{
    const std::string socket = dir_.Path() + "native";
    const char *old = getenv("PULSE_SERVER");
    hadPrevious_ = old != nullptr;
    if (old)
        previous_ = old;
    pid_t pid = fork();
    if (pid == 0) {
        setenv("HOME", dir_.Path().c_str(), 1);
        setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
        const std::string native = "module-native-protocol-unix socket=" + socket + " auth-anonymous=1";
        execlp("pulseaudio", "pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
               "-F", "/dev/null", "--log-target=stderr", "--log-level=0", ("--load=" + native).c_str(),
               "--load=module-null-sink sink_name=orvane_test", "--load=module-always-sink",
               static_cast<char *>(nullptr));
        _exit(127);
    }
    if (pid > 0 && WaitUntil([&] { return FileExists(socket) || waitpid(pid, nullptr, WNOHANG) == pid; }, 10000) &&
        FileExists(socket)) {
        pid_ = pid;
        setenv("PULSE_SERVER", Server().c_str(), 1);
    } else if (pid > 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
}

PulseServer::~PulseServer()
{
    if (hadPrevious_)
        setenv("PULSE_SERVER", previous_.c_str(), 1);
    else
        unsetenv("PULSE_SERVER");
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        if (!WaitUntil([&] { return waitpid(pid_, nullptr, WNOHANG) == pid_; }, 5000)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
}

MonitorRecorder::MonitorRecorder(const PulseServer &pulse)
{
    char name[] = "/tmp/orvane-monitor-XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0)
        return;
    file_ = name;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fd, 1);
        setenv("PULSE_SERVER", pulse.Server().c_str(), 1);
        const std::string device = PulseServer::Sink() + ".monitor";
        execlp("parec", "parec", "-d", device.c_str(), "--raw", "--format=s16le", "--channels=2", "--rate=44100",
               "--latency-msec=20", static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fd);
    pid_ = pid;
}

MonitorRecorder::~MonitorRecorder()
{
    StopAndPeak();
    if (!file_.empty())
        std::remove(file_.c_str());
}

int MonitorRecorder::StopAndPeak()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    const std::string raw = ReadFileBytes(file_);
    int peak = 0;
    for (size_t i = 0; i + 1 < raw.size(); i += 2) {
        const int v = static_cast<int16_t>(static_cast<uint8_t>(raw[i]) | (static_cast<uint8_t>(raw[i + 1]) << 8));
        peak = std::max(peak, std::abs(v));
    }
    return peak;
}

void PumpEvents(int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}
