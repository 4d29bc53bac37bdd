#include "recording/WaveComp.h"

#include <sys/stat.h>

#include <array>
#include <cstring>

namespace {

constexpr std::array<std::uint32_t, 10> Rates = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 96000};

void Put16(unsigned char *p, std::uint16_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}
void Put32(unsigned char *p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::uint16_t Get16(const unsigned char *p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Get32(const unsigned char *p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void PutFormat(unsigned char *p, const TWaveFormatEx &f)
{
    Put16(p, f.wFormatTag);
    Put16(p + 2, f.nChannels);
    Put32(p + 4, f.nSamplesPerSec);
    Put32(p + 8, f.nAvgBytesPerSec);
    Put16(p + 12, f.nBlockAlign);
    Put16(p + 14, f.wBitsPerSample);
    Put16(p + 16, f.cbSize);
}

// Reads up to 18 bytes of a format record; fields beyond `size` keep their values.
void GetFormat(const unsigned char *p, size_t size, TWaveFormatEx &f)
{
    if (size >= 2) f.wFormatTag = Get16(p);
    if (size >= 4) f.nChannels = Get16(p + 2);
    if (size >= 8) f.nSamplesPerSec = Get32(p + 4);
    if (size >= 12) f.nAvgBytesPerSec = Get32(p + 8);
    if (size >= 14) f.nBlockAlign = Get16(p + 12);
    if (size >= 16) f.wBitsPerSample = Get16(p + 14);
    if (size >= 18) f.cbSize = Get16(p + 16);
}

} // namespace

std::uint32_t SamplesPerSecValue(TSamplesPerSec value) { return Rates[static_cast<size_t>(value)]; }

// --- TWaveFileStream ---------------------------------------------------------

TWaveFileStream::TWaveFileStream(const std::string &fileName, const TWaveFormatEx &format, bool writeMode)
    : fileName_(fileName), writeMode_(writeMode), format_(format)
{
    file_ = std::fopen(fileName.c_str(), writeMode ? "w+b" : "rb");
    if (!file_)
        throw EWaveFileException("cannot open " + fileName);
    if (writeMode) {
        WriteHeader();
    } else {
        try {
            ReadHeader();
        } catch (...) {
            std::fclose(file_);
            throw;
        }
    }
}

TWaveFileStream::~TWaveFileStream()
{
    if (writeMode_)
        WriteHeader();
    std::fclose(file_);
}

long TWaveFileStream::FileLength() const
{
    std::fflush(file_); // written bytes may still sit in the stream's buffer
    struct stat st{};
    return fstat(fileno(file_), &st) == 0 ? static_cast<long>(st.st_size) : 0;
}

void TWaveFileStream::WriteHeader()
{
    unsigned char h[WaveHeaderSize] = {};
    const long length = std::max(FileLength(), static_cast<long>(WaveHeaderSize));
    const std::uint32_t data = static_cast<std::uint32_t>(length - WaveHeaderSize);
    std::memcpy(h, "RIFF", 4);
    Put32(h + 4, static_cast<std::uint32_t>(length - 8));
    std::memcpy(h + 8, "WAVEfmt ", 8);
    Put32(h + 16, 18);
    PutFormat(h + 20, format_);
    std::memcpy(h + 38, "fact", 4);
    Put32(h + 42, 4);
    Put32(h + 46, format_.nBlockAlign ? data / format_.nBlockAlign : 0);
    std::memcpy(h + 50, "data", 4);
    Put32(h + 54, data);
    std::fseek(file_, 0, SEEK_SET);
    std::fwrite(h, 1, sizeof h, file_);
    std::fflush(file_);
}

void TWaveFileStream::ReadHeader()
{
    unsigned char riff[12];
    if (std::fread(riff, 1, 12, file_) != 12 || std::memcmp(riff, "RIFF", 4) != 0 ||
        std::memcmp(riff + 8, "WAVE", 4) != 0)
        throw EWaveFileException("无效的wave文件");
    const long length = FileLength();
    long pos = 12;
    unsigned char chunk[8];
    while (pos + 8 <= length) {
        std::fseek(file_, pos, SEEK_SET);
        if (std::fread(chunk, 1, 8, file_) != 8)
            break;
        const std::uint32_t size = Get32(chunk + 4);
        pos += 8;
        if (std::memcmp(chunk, "\0\0\0\0", 4) == 0)
            break;
        if (std::memcmp(chunk, "data", 4) == 0) {
            dataStart_ = pos;
            break;
        }
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            unsigned char body[18];
            const size_t n = std::fread(body, 1, std::min<std::uint32_t>(size, 18), file_);
            GetFormat(body, n, format_);
        }
        pos += size; // a chunk longer than the file ends the scan at the next check
    }
    dataStart_ = std::min(dataStart_, length);
    readOffset_ = writeOffset_ = dataStart_;
    endOfData_ = readOffset_ >= length;
}

long TWaveFileStream::Read(void *buffer, long count)
{
    if (count <= 0)
        return -1;
    std::fseek(file_, readOffset_, SEEK_SET);
    const long n = static_cast<long>(std::fread(buffer, 1, static_cast<size_t>(count), file_));
    readOffset_ += n;
    endOfData_ = readOffset_ >= FileLength();
    return n;
}

long TWaveFileStream::Write(const void *buffer, long count)
{
    if (count <= 0)
        return -1;
    std::fseek(file_, writeOffset_, SEEK_SET);
    const long n = static_cast<long>(std::fwrite(buffer, 1, static_cast<size_t>(count), file_));
    writeOffset_ += n;
    return n;
}

void TWaveFileStream::Rewind()
{
    readOffset_ = dataStart_;
    endOfData_ = readOffset_ >= FileLength();
}

long TWaveFileStream::DataLength() const { return FileLength() - dataStart_; }

// --- TWave -------------------------------------------------------------------

TWave::TWave(QObject *owner) : QObject(owner) {}

TChannels TWave::Channels() const { return format_.nChannels == 2 ? ctStereo : ctMono; }
TBitsperSample TWave::BitsperSample() const { return format_.wBitsPerSample == 16 ? bs16Bit : bs8Bit; }

TSamplesPerSec TWave::SamplesPerSec() const
{
    for (size_t i = 0; i < Rates.size(); ++i)
        if (Rates[i] == format_.nSamplesPerSec)
            return static_cast<TSamplesPerSec>(i);
    return sp44k; // a rate outside the list (a file's own) reads as the usual one
}

void TWave::ApplyFormat(int channels, std::uint32_t rate, int bits)
{
    const TWaveFormatEx f = MakePcmFormat(channels, rate, bits);
    if (f.nChannels == format_.nChannels && f.nSamplesPerSec == format_.nSamplesPerSec &&
        f.wBitsPerSample == format_.wBitsPerSample && f.wFormatTag == format_.wFormatTag)
        return;
    const bool was = active_;
    SetActive(false);
    format_ = f;
    SetActive(was);
}

void TWave::SetChannels(TChannels value)
{
    ApplyFormat(value == ctStereo ? 2 : 1, format_.nSamplesPerSec, format_.wBitsPerSample);
}
void TWave::SetSamplesPerSec(TSamplesPerSec value)
{
    ApplyFormat(format_.nChannels, SamplesPerSecValue(value), format_.wBitsPerSample);
}
void TWave::SetBitsperSample(TBitsperSample value)
{
    ApplyFormat(format_.nChannels, format_.nSamplesPerSec, value == bs16Bit ? 16 : 8);
}

// --- TWaveOut ----------------------------------------------------------------

TWaveOut::TWaveOut(QObject *owner) : TWave(owner) {}

TWaveOut::~TWaveOut() { SetActive(false); }

void TWaveOut::SetActive(bool value)
{
    if (value == active_)
        return;
    if (!value) {
        device_.Close();
        stream_.reset();
        active_ = false;
        return;
    }
    stream_.reset();
    struct stat st{};
    if (fileName_.empty() || stat(fileName_.c_str(), &st) != 0)
        return;
    stream_ = std::make_unique<TWaveFileStream>(fileName_, format_, false);
    format_ = stream_->Format();
    std::string error;
    if (!device_.Open(format_, this, [this] { OnBlockDone(); }, error)) {
        stream_.reset();
        throw EWaveException(error.substr(0, 128));
    }
    active_ = true;
    QueueNext();
    QueueNext();
}

void TWaveOut::Play(const std::string &fileName, bool looped)
{
    struct stat st{};
    if (stat(fileName.c_str(), &st) != 0)
        return;
    SetActive(false);
    repeated_ = looped;
    fileName_ = fileName;
    SetActive(true);
}

void TWaveOut::PlayFile(const std::string &fileName) { Play(fileName, false); }
void TWaveOut::PlayFileLooped(const std::string &fileName) { Play(fileName, true); }

void TWaveOut::QueueNext()
{
    if (!stream_)
        return;
    if (stream_->EndOfData()) {
        if (!repeated_)
            return;
        stream_->Rewind();
    }
    const long remaining = stream_->DataStart() + stream_->DataLength() - stream_->ReadOffset();
    // The last 200 bytes are left out: some files end in a click there.
    const long size = remaining <= BlockSize ? std::max(0L, remaining - 200) : BlockSize;
    std::string block(static_cast<size_t>(size), '\0');
    long n = size > 0 ? stream_->Read(block.data(), size) : 0;
    if (repeated_ && n < BlockSize)
        stream_->Rewind();
    if (n < 1)
        return;
    if (!active_)
        throw EWaveException("没有激活");
    block.resize(static_cast<size_t>(n));
    device_.Write(std::move(block));
}

void TWaveOut::OnBlockDone()
{
    if (active_)
        QueueNext();
}
