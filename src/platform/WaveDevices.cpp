#include "platform/WaveDevices.h"

#include <QMetaObject>
#include <QObject>
#include <QPointer>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

// Small pieces keep a stop request from waiting behind a long block.
constexpr size_t WritePiece = 4096;
constexpr pa_usec_t TargetLatencyUs = 100 * 1000;

bool ToSampleSpec(const TWaveFormatEx &f, pa_sample_spec &sample)
{
    if (f.wFormatTag != 1 || f.nChannels < 1 || f.nChannels > PA_CHANNELS_MAX || f.nSamplesPerSec == 0)
        return false;
    if (f.wBitsPerSample == 8)
        sample.format = PA_SAMPLE_U8;
    else if (f.wBitsPerSample == 16)
        sample.format = PA_SAMPLE_S16LE;
    else
        return false;
    sample.channels = static_cast<uint8_t>(f.nChannels);
    sample.rate = f.nSamplesPerSec;
    return pa_sample_spec_valid(&sample) != 0;
}

} // namespace

TWaveFormatEx MakePcmFormat(int channels, std::uint32_t samplesPerSec, int bitsPerSample)
{
    TWaveFormatEx f;
    f.nChannels = static_cast<std::uint16_t>(channels);
    f.nSamplesPerSec = samplesPerSec;
    f.wBitsPerSample = static_cast<std::uint16_t>(bitsPerSample);
    f.nBlockAlign = static_cast<std::uint16_t>(channels * (bitsPerSample / 8));
    f.nAvgBytesPerSec = f.nBlockAlign * samplesPerSec;
    return f;
}

struct TWaveOutDevice::Worker : std::enable_shared_from_this<TWaveOutDevice::Worker> {
    pa_simple *stream = nullptr;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<std::string> queue;
    std::atomic<bool> stop{false};
    std::thread thread;
    QPointer<QObject> context;
    std::function<void()> onDone;

    void Run()
    {
        for (;;) {
            std::string block;
            {
                std::unique_lock<std::mutex> guard(lock);
                wake.wait(guard, [this] { return stop || !queue.empty(); });
                if (stop)
                    return;
                block = std::move(queue.front());
                queue.pop_front();
            }
            for (size_t pos = 0; pos < block.size() && !stop; pos += WritePiece) {
                int err = 0;
                if (pa_simple_write(stream, block.data() + pos, std::min(WritePiece, block.size() - pos), &err) < 0)
                    break;
            }
            if (stop)
                return;
            // Reported on the notify thread, and only while the device is open.
            std::weak_ptr<Worker> self = weak_from_this();
            QMetaObject::invokeMethod(
                context.data(),
                [self] {
                    if (auto w = self.lock(); w && !w->stop && w->onDone)
                        w->onDone();
                },
                Qt::QueuedConnection);
        }
    }
};

TWaveOutDevice::TWaveOutDevice() = default;

TWaveOutDevice::~TWaveOutDevice() { Close(); }

bool TWaveOutDevice::IsOpen() const { return worker_ != nullptr; }

bool TWaveOutDevice::Open(const TWaveFormatEx &format, QObject *context, std::function<void()> onDone,
                          std::string &error)
{
    Close();
    pa_sample_spec sample{};
    if (!ToSampleSpec(format, sample)) {
        error = "unsupported wave format";
        return false;
    }
    // A short server buffer: the sounds tell what happens now, and a stop is heard at once.
    pa_buffer_attr attr;
    attr.maxlength = static_cast<uint32_t>(-1);
    attr.tlength = static_cast<uint32_t>(pa_usec_to_bytes(TargetLatencyUs, &sample));
    attr.prebuf = static_cast<uint32_t>(-1);
    attr.minreq = static_cast<uint32_t>(-1);
    attr.fragsize = static_cast<uint32_t>(-1);
    int err = 0;
    pa_simple *stream =
        pa_simple_new(nullptr, "Orvane", PA_STREAM_PLAYBACK, nullptr, "Notification", &sample, nullptr, &attr, &err);
    if (!stream) {
        error = pa_strerror(err);
        return false;
    }
    auto worker = std::make_shared<Worker>();
    worker->stream = stream;
    worker->context = context;
    worker->onDone = std::move(onDone);
    worker->thread = std::thread([w = worker.get()] { w->Run(); });
    worker_ = std::move(worker);
    return true;
}

void TWaveOutDevice::Write(std::string block)
{
    if (!worker_)
        return;
    {
        std::lock_guard<std::mutex> guard(worker_->lock);
        worker_->queue.push_back(std::move(block));
    }
    worker_->wake.notify_one();
}

void TWaveOutDevice::Close()
{
    if (!worker_)
        return;
    std::shared_ptr<Worker> w = std::move(worker_);
    {
        std::lock_guard<std::mutex> guard(w->lock);
        w->stop = true;
        w->queue.clear();
    }
    w->wake.notify_one();
    w->thread.join();
    int err = 0;
    pa_simple_flush(w->stream, &err);
    pa_simple_free(w->stream);
}
