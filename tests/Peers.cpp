#include "Peers.h"

#include "network/HttpText.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

extern char **environ;

bool HaveProgram(const std::string &name)
{
    if (name.find('/') != std::string::npos)
        return access(name.c_str(), X_OK) == 0;
    return !RunCommand("command -v " + name + " 2>/dev/null").empty();
}

int FreeLoopbackPort()
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr);
    getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &length);
    close(fd);
    return ntohs(addr.sin_port);
}

bool WaitForPort(int port, int timeoutMs)
{
    return WaitUntil(
        [port] {
            int fd = socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in addr{};
            addr.sin_family = AF_INET;
            addr.sin_port = htons(static_cast<uint16_t>(port));
            addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            const bool ok = connect(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0;
            close(fd);
            return ok;
        },
        timeoutMs);
}

TChild::TChild(const std::vector<std::string> &argv, const std::string &logFile)
{
    std::vector<char *> args;
    for (const auto &a : argv)
        args.push_back(const_cast<char *>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ) == 0)
        pid_ = pid;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
}

TChild::~TChild() { Stop(); }

bool TChild::Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }

void TChild::Stop()
{
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGTERM);
    for (int i = 0; i < 40 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (kill(pid_, 0) == 0) {
        kill(-pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

namespace {
const char *const SourcePassword = "orvane-src";
const char *const AdminPassword = "orvane-admin";
} // namespace

TIcecastStream::TIcecastStream()
    : port_(FreeLoopbackPort())
{
    std::filesystem::create_directories(dir_ / "log");
    // As root icecast insists on dropping to another user; it then needs
    // to write its logs there.
    const bool root = geteuid() == 0;
    std::filesystem::permissions(dir_.Path(), std::filesystem::perms::all);
    std::filesystem::permissions(dir_ / "log", std::filesystem::perms::all);
    std::ofstream(dir_ / "icecast.xml")
        << "<icecast><limits><sources>2</sources><source-timeout>5</source-timeout>"
           "<burst-on-connect>1</burst-on-connect><burst-size>65535</burst-size></limits>"
           "<authentication><source-password>" << SourcePassword << "</source-password>"
           "<admin-user>admin</admin-user><admin-password>" << AdminPassword << "</admin-password></authentication>"
           "<hostname>127.0.0.1</hostname>"
           "<listen-socket><port>" << port_ << "</port><bind-address>127.0.0.1</bind-address></listen-socket>"
           "<fileserve>0</fileserve>"
           "<paths><basedir>" << dir_.Path() << "</basedir><logdir>" << dir_ / "log" << "</logdir>"
           "<webroot>/usr/share/icecast2/web</webroot><adminroot>/usr/share/icecast2/admin</adminroot></paths>"
           "<logging><errorlog>error.log</errorlog><loglevel>2</loglevel><accesslog>access.log</accesslog></logging>"
           "<security><chroot>0</chroot>"
        << (root ? "<changeowner><user>nobody</user><group>nogroup</group></changeowner>" : "")
        << "</security></icecast>\n";
    server_ = std::make_unique<TChild>(std::vector<std::string>{"icecast2", "-c", dir_ / "icecast.xml"},
                                       dir_ / "icecast.out");
    if (!WaitForPort(port_, 10000))
        return;
    started_ = StartSource();
}

std::string TIcecastStream::Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/live.mp3"; }

bool TIcecastStream::SetTitle(const std::string &title)
{
    std::string encoded;
    for (char c : title)
        encoded += c == ' ' ? std::string("%20") : std::string(1, c);
    const std::string answer = FetchText("http://admin:" + std::string(AdminPassword) + "@127.0.0.1:" +
                                         std::to_string(port_) + "/admin/metadata?mount=/live.mp3&mode=updinfo&song=" +
                                         encoded);
    return answer.find("successful") != std::string::npos;
}

bool TIcecastStream::StartSource()
{
    source_ = std::make_unique<TChild>(
        std::vector<std::string>{"ffmpeg", "-hide_banner", "-loglevel", "error", "-re", "-f", "lavfi", "-i",
                                 "sine=frequency=440:sample_rate=44100", "-ac", "2", "-c:a", "libmp3lame",
                                 "-b:a", "128k", "-content_type", "audio/mpeg", "-ice_name", "Orvane Test Radio",
                                 "-f", "mp3",
                                 "icecast://source:" + std::string(SourcePassword) + "@127.0.0.1:" +
                                     std::to_string(port_) + "/live.mp3"},
        dir_ / "ffmpeg.out");
    // The mount exists once the source is connected: its status page names it.
    return WaitUntil(
        [this] { return FetchText("http://127.0.0.1:" + std::to_string(port_) + "/status-json.xsl")
                            .find("live.mp3") != std::string::npos; },
        10000);
}

void TIcecastStream::StopSource()
{
    if (source_)
        source_->Stop();
}

void TIcecastStream::Stop()
{
    if (source_)
        source_->Stop();
    if (server_)
        server_->Stop();
}

THttpFolder::THttpFolder(const std::string &folder)
    : port_(FreeLoopbackPort())
{
    server_ = std::make_unique<TChild>(std::vector<std::string>{"/usr/bin/python3", "-m", "http.server", "--bind",
                                                                "127.0.0.1", "--directory", folder,
                                                                std::to_string(port_)});
    started_ = WaitForPort(port_, 10000);
}

std::string THttpFolder::Url(const std::string &name) const
{
    return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
}

bool MakeToneFile(const std::string &path, double seconds, const std::string &title)
{
    std::string command = "ffmpeg -hide_banner -loglevel error -y -f lavfi -i sine=frequency=440:duration=" +
                          std::to_string(seconds) + " -ac 2 ";
    if (!title.empty())
        command += "-metadata title='" + title + "' ";
    RunCommand(command + "'" + path + "' 2>&1");
    return FileExists(path);
}
