#include "app/Upgrade.h"

#include "app/LogU.h"
#include "platform/IniFile.h"
#include "platform/ProcessControl.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <list>

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}

std::string SelfFolder()
{
    const std::string exe = ProcessExecutable(getpid());
    return exe.substr(0, exe.rfind('/') + 1);
}

std::list<std::string> ReadListLines(const std::string &fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    std::list<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// A listed path may only name something inside the folders it is relative to.
bool IsSafeRelative(const std::string &path)
{
    if (path.empty() || path[0] == '/' || (path.size() > 1 && path[1] == ':'))
        return false;
    for (const auto &part : fs::path(path))
        if (part == "..")
            return false;
    return true;
}

// Copies through a temporary file and a rename, so a running program file
// is replaced rather than overwritten and a failed copy leaves the old file.
bool CopyReplacing(const std::string &from, const std::string &to)
{
    std::error_code ec;
    if (!fs::is_regular_file(from, ec))
        return false;
    const std::string tmp = to + ".upgrade-tmp";
    if (!fs::copy_file(from, tmp, fs::copy_options::overwrite_existing, ec))
        return false;
    // Files arrive writable for the user, as the old installation expects.
    fs::permissions(tmp, fs::status(from).permissions() | fs::perms::owner_write, ec);
    fs::rename(tmp, to, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return false;
    }
    return true;
}

} // namespace

std::vector<std::string> UpgradeArguments(int processId, const std::string &appPath)
{
    return {std::to_string(processId), appPath};
}

bool CopyListedFiles(const std::string &source, const std::string &target, const std::string &listName)
{
    const std::string listFile = source + listName + ".txt";
    if (!fs::exists(listFile))
        return true;
    try {
        std::list<std::string> lines = ReadListLines(listFile);
        for (auto it = lines.begin(); it != lines.end();) {
            std::string entry = *it;
            std::replace(entry.begin(), entry.end(), '\\', '/');
            bool done;
            if (entry.empty()) {
                done = true;
            } else if (!IsSafeRelative(entry)) {
                done = false;
            } else if (entry.back() == '/') {
                std::error_code ec;
                fs::create_directories(target + entry, ec);
                done = !ec && fs::is_directory(target + entry);
            } else {
                done = CopyReplacing(source + entry, target + entry);
            }
            it = done ? lines.erase(it) : std::next(it);
        }
        return lines.empty();
    } catch (const std::exception &e) {
        LogException("UpgradeFiles", e);
        return false;
    }
}

bool InstallUpgrade(const std::vector<std::string> &args)
{
    if (args.size() < 2)
        return false;
    int pid = 0;
    if (!ParseInt(args[0], pid) || pid <= 0)
        return false;
    const std::string target = WithSlash(args[1]);
    std::error_code ec;
    if (!fs::is_directory(target, ec))
        return false;
    const std::string source = SelfFolder();

    // Only the installed program is ended; an id now used by another program is left alone.
    if (EndProcessAndWait(pid, target + ProgramFileName, 1000, 2000) == TEndProcessResult::TimedOut)
        return false;
    if (!CopyListedFiles(source, target, "dll") || !CopyListedFiles(source, target, "bin"))
        return false;
    return StartProgram(target + ProgramFileName);
}
