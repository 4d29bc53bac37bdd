#include "app/LogU.h"

#include "app/CommonU.h"
#include "app/Funs.h"
#include "app/GlobalUnit.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <cxxabi.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <typeinfo>
#include <unistd.h>

namespace {

void DeleteIfOversized(const std::string &fileName)
{
    struct stat st {};
    if (stat(fileName.c_str(), &st) == 0 && st.st_size > MaxLogFileSize)
        unlink(fileName.c_str());
}

std::string ProgramLogBase()
{
    static const std::string exeName = FileNameWithoutExt(ExecutableFileName());
    return AppPath() + exeName;
}

TLog &ProgramLog()
{
    static TLog log(ProgramLogBase);
    return log;
}

} // namespace

TLog::TLog(std::function<std::string()> basePath) : basePath_(std::move(basePath)) {}

void TLog::WriteLog(const std::string &text, bool error)
{
    const std::string base = basePath_();
    // Serialised, so that two threads never lose or interleave lines.
    const std::lock_guard lock(mutex_);
    if (base != preparedBase_)
        Prepare(base);
    const std::string line = FormatLine(text);
    if (error)
        Append(errorName_, line);
    Append(generalName_, line);
}

void TLog::LogException(const std::string &label, const std::exception &e)
{
    WriteLog("!!!Exception : " + label + " (" + ExceptionClassName(e) + ": " + e.what() + ")", true);
}

std::string TLog::GeneralFileName() const
{
    const std::lock_guard lock(mutex_);
    return generalName_;
}

std::string TLog::ErrorFileName() const
{
    const std::lock_guard lock(mutex_);
    return errorName_;
}

void TLog::Prepare(const std::string &base)
{
    // The thread of the run's first line keeps the short line form, also when
    // the files move to another folder.
    if (firstThreadId_ == 0) {
        processId_ = getpid();
        firstThreadId_ = gettid();
    }
    preparedBase_ = base;
    generalName_ = base + ".log";
    errorName_ = base + "E.log";
    DeleteIfOversized(generalName_);
    DeleteIfOversized(errorName_);
}

void TLog::Append(const std::string &fileName, const std::string &text) const
{
    const int fd = open(fileName.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n <= 0)
            break;
        done += size_t(n);
    }
    close(fd);
}

std::string TLog::FormatLine(const std::string &text) const
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm tm {};
    localtime_r(&now.tv_sec, &tm);
    char head[80];
    int n = std::snprintf(head, sizeof head, "[%.8X] %.4d-%.2d-%.2d %.2d:%.2d:%.2d.%.3d", unsigned(processId_),
                          tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                          int(now.tv_nsec / 1000000));
    const pid_t thread = gettid();
    if (thread == firstThreadId_)
        std::snprintf(head + n, sizeof head - size_t(n), "  ");
    else
        std::snprintf(head + n, sizeof head - size_t(n), " [%.8X] ", unsigned(thread));
    return head + text + "\r\n";
}

std::string ExceptionClassName(const std::exception &e)
{
    const char *mangled = typeid(e).name();
    int status = 0;
    const std::unique_ptr<char, decltype(&std::free)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                                &std::free);
    return status == 0 && demangled ? demangled.get() : mangled;
}

void WriteLog(const std::string &text, bool error) { ProgramLog().WriteLog(text, error); }

void LogException(const std::string &label, const std::exception &e) { ProgramLog().LogException(label, e); }
