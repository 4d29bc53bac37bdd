#pragma once
// Real peers for tests that stream, each started on a free loopback port and
// stopped when its object goes away.

#include "TestSupport.h"

#include <memory>
#include <string>
#include <vector>

// True when the program is on PATH (or the path is executable).
bool HaveProgram(const std::string &name);
int FreeLoopbackPort();
// Waits until something accepts connections on the loopback port.
bool WaitForPort(int port, int timeoutMs);

// A child process in its own process group, ended with SIGTERM (then
// SIGKILL) when the object goes away.
class TChild {
public:
    explicit TChild(const std::vector<std::string> &argv, const std::string &logFile = "/dev/null");
    ~TChild();
    TChild(const TChild &) = delete;
    TChild &operator=(const TChild &) = delete;
    bool Running() const;
    void Stop();

private:
    int pid_ = -1;
};

// icecast2 with one mount "/live.mp3" fed by ffmpeg with a 440 Hz tone as
// 128 kbit/s MP3. Started() tells whether a listener can connect.
class TIcecastStream {
public:
    TIcecastStream();
    bool Started() const { return started_; }
    std::string Url() const;
    // Sets the stream's ICY title through the server's admin interface.
    bool SetTitle(const std::string &title);
    void Stop(); // the server goes away, listeners are cut off
    // The source alone goes away (the mount disappears) and comes back.
    void StopSource();
    bool StartSource();

private:
    TempDir dir_;
    int port_;
    bool started_ = false;
    std::unique_ptr<TChild> server_;
    std::unique_ptr<TChild> source_;
};

// Serves a folder over HTTP with Debian's Python.
class THttpFolder {
public:
    explicit THttpFolder(const std::string &folder);
    bool Started() const { return started_; }
    std::string Url(const std::string &name) const;

private:
    int port_;
    bool started_ = false;
    std::unique_ptr<TChild> server_;
};

// Makes a media file with ffmpeg; true when it exists afterwards.
bool MakeToneFile(const std::string &path, double seconds, const std::string &title = "");
