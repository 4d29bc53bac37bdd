#pragma once
// Helpers shared by the tests: temporary folders and small file utilities.

#include <functional>
#include <string>

// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away. Path() ends in "/".
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::string &Path() const { return path_; }
    std::string operator/(const std::string &name) const { return path_ + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string &path);
void WriteFileBytes(const std::string &path, const std::string &bytes);
bool FileExists(const std::string &path);

// An X server of its own for tests that need real windows: started on a free
// display number, stopped when the object goes away.
class XvfbServer {
public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer &) = delete;
    XvfbServer &operator=(const XvfbServer &) = delete;
    bool Running() const { return pid_ > 0; }
    const std::string &Display() const { return display_; } // ":123"

private:
    int pid_ = -1;
    std::string display_;
};

// Runs a command line through /bin/sh and returns its standard output.
std::string RunCommand(const std::string &command);

// Polls `condition` every 50 ms until it holds or `timeoutMs` passes.
bool WaitUntil(const std::function<bool()> &condition, int timeoutMs);

// A program folder of its own: a copy of the built orvane executable, plus
// a runtime folder for the single-instance socket.
struct ProgramFolder {
    TempDir dir;
    std::string Exe() const { return dir / "orvane"; }
    std::string Runtime() const { return dir / "run"; }
    ProgramFolder();
};

// A PulseAudio server of its own with one null sink ("orvane_test"), on a
// socket in a temporary folder. While it lives, PULSE_SERVER points this
// process and the programs it starts at it.
class PulseServer {
public:
    PulseServer();
    ~PulseServer();
    PulseServer(const PulseServer &) = delete;
    PulseServer &operator=(const PulseServer &) = delete;
    bool Running() const { return pid_ > 0; }
    std::string Server() const { return "unix:" + dir_.Path() + "native"; }
    static std::string Sink() { return "orvane_test"; }

private:
    TempDir dir_;
    int pid_ = -1;
    std::string previous_;
    bool hadPrevious_ = false;
};

// Records the null sink's monitor with parec while the test goes on.
class MonitorRecorder {
public:
    explicit MonitorRecorder(const PulseServer &pulse);
    ~MonitorRecorder();
    // Stops recording and returns the peak absolute sample (signed 16-bit)
    // of what was recorded.
    int StopAndPeak();

private:
    int pid_ = -1;
    std::string file_;
};

// Runs the Qt event loop for the given time (queued calls, timers).
void PumpEvents(int milliseconds);
