#pragma once
// Sound output through the PulseAudio server. A device plays the blocks it
// is given in order on a thread of its own; each finished block is reported
// on the thread of the notify context (the GUI thread), as the sound card's
// "block done" messages are.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QObject;

// The 18-byte wave format record of WAV files.
struct TWaveFormatEx {
    std::uint16_t wFormatTag = 1; // PCM
    std::uint16_t nChannels = 2;
    std::uint32_t nSamplesPerSec = 44100;
    std::uint32_t nAvgBytesPerSec = 176400;
    std::uint16_t nBlockAlign = 4;
    std::uint16_t wBitsPerSample = 16;
    std::uint16_t cbSize = 0;
};
// PCM format from channels, rate and bits, with block alignment and byte rate derived.
TWaveFormatEx MakePcmFormat(int channels, std::uint32_t samplesPerSec, int bitsPerSample);

class TWaveOutDevice {
public:
    TWaveOutDevice();
    ~TWaveOutDevice();
    TWaveOutDevice(const TWaveOutDevice &) = delete;
    TWaveOutDevice &operator=(const TWaveOutDevice &) = delete;

    // Opens a playback stream; `onDone` runs on `context`'s thread after each
    // block has been handed to the server. False with `error` set on failure.
    bool Open(const TWaveFormatEx &format, QObject *context, std::function<void()> onDone, std::string &error);
    // Queues a block for playing.
    void Write(std::string block);
    // Drops what is queued, stops and closes; no report arrives afterwards.
    void Close();
    bool IsOpen() const;

private:
    struct Worker;
    std::shared_ptr<Worker> worker_;
};
