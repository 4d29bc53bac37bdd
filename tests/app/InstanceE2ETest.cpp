// Real processes: a second start hands over to the running instance, and the
// install mode replaces an old installation and starts the new one.

#include "platform/IniFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include <csignal>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

QProcessEnvironment Environment(const std::string &runtime, const std::string &display)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime));
    if (display.empty()) {
        env.insert("QT_QPA_PLATFORM", "offscreen");
    } else {
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", QString::fromStdString(display));
    }
    return env;
}

std::string SocketIn(const std::string &runtime) { return runtime + "/orvane-" + std::to_string(getuid()) + ".sock"; }

bool MainWindowVisible(const std::string &display)
{
    return !RunCommand("DISPLAY=" + display + " xdotool search --onlyvisible --name '^Orvane$' 2>/dev/null").empty();
}

// Processes whose executable is `exe`.
std::vector<int> ProcessesOf(const std::string &exe)
{
    std::vector<int> pids;
    for (const auto &entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code ec;
        if (fs::read_symlink(entry.path() / "exe", ec).string() == exe)
            pids.push_back(std::stoi(name));
    }
    return pids;
}

} // namespace

TEST(SingleInstanceE2E, SecondStartBringsTheHiddenFirstToTheFrontAndEnds)
{
    XvfbServer x;
    ASSERT_TRUE(x.Running());
    ProgramFolder pf;
    // Only a skinned main window can be shown.
    fs::copy(std::string(ORVANE_PROGRAM_DIR) + "/Skins", pf.dir / "Skins", fs::copy_options::recursive);
    WriteFileBytes(pf.dir / "User.ini", "[Options]\r\nAutoHide=1\r\n");

    QProcess first;
    first.setProcessEnvironment(Environment(pf.Runtime(), x.Display()));
    first.start(QString::fromStdString(pf.Exe()), {});
    ASSERT_TRUE(first.waitForStarted(5000));
    ASSERT_TRUE(WaitUntil([&] { return FileExists(SocketIn(pf.Runtime())); }, 15000));
    EXPECT_FALSE(MainWindowVisible(x.Display()));

    QProcess second;
    second.setProcessEnvironment(Environment(pf.Runtime(), x.Display()));
    second.start(QString::fromStdString(pf.Exe()), {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_TRUE(WaitUntil([&] { return MainWindowVisible(x.Display()); }, 10000));
    EXPECT_EQ(first.state(), QProcess::Running);

    // Log-out or kill: the program closes as "Exit" does and saves its settings.
    kill(static_cast<pid_t>(first.processId()), SIGTERM);
    ASSERT_TRUE(first.waitForFinished(10000));
    IniFile user(pf.dir / "User.ini");
    EXPECT_EQ(user.ReadSection("Hotkeys").size(), 22u);
    EXPECT_TRUE(user.ValueExists("frmMain", "Left"));
    EXPECT_TRUE(user.ValueExists("Player", "Volume"));
    EXPECT_FALSE(FileExists(SocketIn(pf.Runtime())));
}

TEST(InstallModeE2E, EndsTheOldProgramCopiesTheListsAndStartsTheNewOne)
{
    TempDir target;
    const std::string installed = target / "orvane";
    fs::copy_file("/bin/sleep", installed);
    QProcess old;
    old.start(QString::fromStdString(installed), {"300"});
    ASSERT_TRUE(old.waitForStarted(5000));

    const std::string source = target / "temp/bin/";
    fs::create_directories(source);
    fs::copy_file(std::string(ORVANE_PROGRAM_DIR) + "/orvane", source + "orvane");
    WriteFileBytes(source + "dll.txt", "lib\\\r\nlib\\codec.so\r\n");
    WriteFileBytes(source + "bin.txt", "orvane\r\n");
    WriteFileBytes(source + "lib/codec.so", "codec");
    const std::string runtime = target / "run";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);

    QProcess installer;
    installer.setProcessEnvironment(Environment(runtime, ""));
    installer.start(QString::fromStdString(source + "orvane"),
                    {QString::number(old.processId()), QString::fromStdString(target.Path())});
    ASSERT_TRUE(installer.waitForFinished(15000));
    EXPECT_EQ(installer.exitCode(), 0);

    ASSERT_TRUE(old.waitForFinished(2000));
    EXPECT_EQ(old.exitStatus(), QProcess::CrashExit); // ended by the installer
    EXPECT_EQ(ReadFileBytes(target / "lib/codec.so"), "codec");
    EXPECT_EQ(ReadFileBytes(installed), ReadFileBytes(source + "orvane"));

    // The installed program is running as the one instance.
    EXPECT_TRUE(WaitUntil([&] { return FileExists(SocketIn(runtime)); }, 15000));
    for (int pid : ProcessesOf(installed))
        kill(pid, SIGTERM);
    EXPECT_TRUE(WaitUntil([&] { return ProcessesOf(installed).empty(); }, 10000));
}

TEST(InstallModeE2E, LeavesAProcessOfAnotherProgramAlone)
{
    TempDir target;
    QProcess other;
    other.start("/bin/sleep", {"300"});
    ASSERT_TRUE(other.waitForStarted(5000));
    const std::string source = target / "temp/bin/";
    fs::create_directories(source);
    fs::copy_file(std::string(ORVANE_PROGRAM_DIR) + "/orvane", source + "orvane");
    WriteFileBytes(source + "bin.txt", "../escape\r\n"); // fails, so nothing is started

    QProcess installer;
    installer.setProcessEnvironment(Environment(target / "run", ""));
    installer.start(QString::fromStdString(source + "orvane"),
                    {QString::number(other.processId()), QString::fromStdString(target.Path())});
    ASSERT_TRUE(installer.waitForFinished(15000));
    EXPECT_EQ(other.state(), QProcess::Running);
    EXPECT_FALSE(FileExists(target / "orvane"));
    other.kill();
    other.waitForFinished(2000);
}
