#pragma once
// The program's log of unexpected exceptions that it catches and survives.
// Each line goes to the general log "<exe>.log"; error lines go first to the
// error log "<exe>E.log" and then to the general log. Both files lie in the
// program folder and are only ever appended to.

#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <sys/types.h>

// One pair of log files. The program uses one instance through the free
// functions below; tests make their own.
class TLog {
public:
    // basePath gives the files' path without extension at each write, so the
    // log follows a program folder that moves (tests point it elsewhere).
    explicit TLog(std::function<std::string()> basePath);

    // Appends one line; with error it goes to the error log and then to the
    // general log. A line that cannot be written is dropped silently.
    void WriteLog(const std::string &text, bool error);
    // Writes "!!!Exception : <label> (<class>: <message>)" as an error line.
    void LogException(const std::string &label, const std::exception &e);

    // The files of the last write; empty before the first.
    std::string GeneralFileName() const;
    std::string ErrorFileName() const;

private:
    void Prepare(const std::string &base);
    void Append(const std::string &fileName, const std::string &text) const;
    std::string FormatLine(const std::string &text) const;

    std::function<std::string()> basePath_;
    mutable std::mutex mutex_;
    std::string preparedBase_;
    std::string generalName_;
    std::string errorName_;
    pid_t processId_ = 0;
    pid_t firstThreadId_ = 0;
};

// Leftover logs above this size are deleted at the first write of a run.
constexpr long long MaxLogFileSize = 4194304;

// The class name of an exception as written in the source ("std::runtime_error").
std::string ExceptionClassName(const std::exception &e);

// The program's log, beside the executable's name in AppPath().
void WriteLog(const std::string &text, bool error);
void LogException(const std::string &label, const std::exception &e);
