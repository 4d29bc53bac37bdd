#pragma once
// Ending another process of ours and starting programs detached.

#include <string>
#include <vector>

enum class TEndProcessResult {
    NotRunning, // no such process, or it is not the expected program
    Ended,      // it was ended and is gone
    TimedOut,   // it was told to end but is still there
    WaitFailed, // it was told to end; whether it ended is unknown
};

// Ends process `pid` when its executable is `expectedExecutable`: kills it,
// sleeps `settleMs`, then waits up to `waitMs` for it to be gone. A process
// running another program (a reused id) is left alone and counts as not running.
TEndProcessResult EndProcessAndWait(int pid, const std::string &expectedExecutable, int settleMs, int waitMs);

// Starts a program in the background, detached from this process.
bool StartProgram(const std::string &program, const std::vector<std::string> &args = {});

// The path of the executable a process runs, "" when it cannot be read.
std::string ProcessExecutable(int pid);
