#pragma once
// Wave files and the sound card: `TWaveFileStream` reads and writes WAV files,
// `TWaveOut` plays a WAV file once or in a loop through the sound server.
// Device reports arrive on the GUI thread, one block at a time.

#include <QObject>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/WaveDevices.h"

class EWaveException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EWaveFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TChannels { ctMono, ctStereo };
enum TSamplesPerSec { sp8k, sp11k, sp12k, sp16k, sp22k, sp24k, sp32k, sp44k, sp48k, sp96k };
enum TBitsperSample { bs8Bit, bs16Bit };
std::uint32_t SamplesPerSecValue(TSamplesPerSec value);

constexpr int WaveHeaderSize = 58;

class TWaveFileStream {
public:
    // Write mode creates (truncates) the file with a header holding `format`;
    // read mode opens an existing file and takes the format from its header
    // (throws EWaveFileException for anything but a RIFF "WAVE" file).
    TWaveFileStream(const std::string &fileName, const TWaveFormatEx &format, bool writeMode);
    // A write-mode stream completes the header here.
    ~TWaveFileStream();
    TWaveFileStream(const TWaveFileStream &) = delete;
    TWaveFileStream &operator=(const TWaveFileStream &) = delete;

    // Bytes read or written; -1 for a count of 0 or less.
    long Read(void *buffer, long count);
    long Write(const void *buffer, long count);
    void Rewind();
    long DataLength() const;
    long DataStart() const { return dataStart_; }
    long ReadOffset() const { return readOffset_; }
    bool EndOfData() const { return endOfData_; }
    const TWaveFormatEx &Format() const { return format_; }

private:
    void ReadHeader();
    void WriteHeader();
    long FileLength() const;

    std::string fileName_;
    bool writeMode_;
    bool endOfData_ = false;
    TWaveFormatEx format_;
    std::FILE *file_ = nullptr;
    long dataStart_ = WaveHeaderSize;
    long readOffset_ = WaveHeaderSize;
    long writeOffset_ = WaveHeaderSize;
};

// Common part of the wave components: the format, the file and the active state.
class TWave : public QObject {
    Q_OBJECT
public:
    explicit TWave(QObject *owner = nullptr);

    bool Active() const { return active_; }
    virtual void SetActive(bool value) = 0;
    void Start() { SetActive(true); }
    void Stop() { SetActive(false); }

    TChannels Channels() const;
    void SetChannels(TChannels value);
    TSamplesPerSec SamplesPerSec() const;
    void SetSamplesPerSec(TSamplesPerSec value);
    TBitsperSample BitsperSample() const;
    void SetBitsperSample(TBitsperSample value);
    const TWaveFormatEx &Format() const { return format_; }

    const std::string &FileName() const { return fileName_; }
    void SetFileName(const std::string &name) { fileName_ = name; }
    std::uint32_t DeviceID() const { return deviceId_; }
    void SetDeviceID(std::uint32_t id) { deviceId_ = id; }

protected:
    void ApplyFormat(int channels, std::uint32_t rate, int bits);

    bool active_ = false;
    TWaveFormatEx format_;
    std::string fileName_;
    std::uint32_t deviceId_ = 0xFFFFFFFF;
    std::unique_ptr<TWaveFileStream> stream_;
};

class TWaveOut : public TWave {
    Q_OBJECT
public:
    explicit TWaveOut(QObject *owner = nullptr);
    ~TWaveOut() override;

    void SetActive(bool value) override;
    bool Repeated() const { return repeated_; }
    void SetRepeated(bool value) { repeated_ = value; }

    // Plays an existing file once (or looped); a missing file does nothing.
    void PlayFile(const std::string &fileName);
    void PlayFileLooped(const std::string &fileName);

    static constexpr long BlockSize = 102400;

private:
    void Play(const std::string &fileName, bool looped);
    void QueueNext();
    void OnBlockDone();

    bool repeated_ = false;
    TWaveOutDevice device_;
};
