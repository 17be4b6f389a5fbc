// The microphone component.
#include "sound/Microphone.h"

#include "app/Clock.h"
#include "sound/SoundEvents.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kalvintor::sound {

namespace {
// The worker wakes at each captured buffer, and at least this often to watch the stream.
constexpr auto kWorkerIdle = std::chrono::milliseconds(3);
}  // namespace

Microphone::Microphone(Post post, std::unique_ptr<MicCapture> capture)
    : post_(std::move(post)),
      blocks_(std::make_unique<std::array<Block, kBlocks>>()),
      capture_(std::move(capture)) {
    worker_ = std::jthread([this](std::stop_token stop) { Work(stop); });
}

Microphone::~Microphone() {
    MicClose();
    worker_ = std::jthread();
}

bool Microphone::Open() const {
    std::lock_guard lock(streamMutex_);
    return open_;
}

int Microphone::MicOpen() {
    std::lock_guard lock(streamMutex_);
    if (open_) return 1;
    if (capture_ == nullptr) return 0;
    lastCaptureMs_ = static_cast<double>(app::MillisecondClock());
    streamLost_ = false;
    if (!capture_->Start(&Microphone::Captured, this)) {
        capture_->Stop();
        return 0;
    }
    const double rate = capture_->Rate();
    if (!(rate >= kMicLowestRate && rate <= kMicHighestRate)) {
        capture_->Stop();
        return 0;
    }
    captureRate_ = rate;
    captureLatencyMs_ = capture_->LatencyMs();
    open_ = true;
    return 1;
}

void Microphone::MicConfigure(std::int32_t rhythmThreshold, std::uint8_t highPrecision,
                              double toneThreshold) {
    std::lock_guard lock(configMutex_);
    config_ = {rhythmThreshold, highPrecision != 0, toneThreshold};
}

void Microphone::SetPitchRange(int low, int high) {
    rangeLow_ = low;
    rangeHigh_ = high;
}

void Microphone::ProgramSound(const OwnSound& sound) {
    std::lock_guard lock(soundsMutex_);
    programSounds_.push_back(sound);
}

void Microphone::TakeProgramSounds(MicAnalyzer& analyzer) {
    std::lock_guard lock(soundsMutex_);
    for (const OwnSound& sound : programSounds_) analyzer.ProgramSound(sound);
    programSounds_.clear();
}

void Microphone::StartDetection(MicMode mode) {
    ++generation_;
    unacknowledged_ = 0;
    requestedMode_ = static_cast<int>(mode);
}

void Microphone::MicStop() {
    ++generation_;
    requestedMode_ = static_cast<int>(MicMode::Off);
}

void Microphone::MicAcknowledge() {
    int n = unacknowledged_.load();
    while (n > 0 && !unacknowledged_.compare_exchange_weak(n, n - 1)) {
    }
}

std::uint8_t Microphone::MicGetNote(std::uint8_t lowByte, std::uint8_t& unread) {
    unread = static_cast<std::uint8_t>(std::max(0, unacknowledged_.load()));
    return lowByte;  // the note travels in the message itself
}

void Microphone::MicHandleMessage(std::uint32_t wParam) {
    if (wParam == kMicStreamLost) {
        // The device went away: release it, so that switching the microphone on again reopens it.
        MicStop();
        std::lock_guard lock(streamMutex_);
        if (capture_ != nullptr) capture_->Stop();
        open_ = false;
    }
}

void Microphone::MicClose() {
    MicStop();
    std::lock_guard lock(streamMutex_);
    if (capture_ != nullptr) capture_->Stop();
    open_ = false;
}

MicReading Microphone::Reading() const {
    MicReading r;
    if (streamLost_.load()) {
        r.state = MicReading::State::Lost;
        return r;
    }
    if (static_cast<MicMode>(requestedMode_.load()) == MicMode::Off) return r;
    r.levelDb = levelDb_.load();
    {
        switch (Signal()) {
            case MicSignal::Listening:
                r.state = MicReading::State::Listening;
                break;
            case MicSignal::NoSignal:
                r.state = MicReading::State::NoSignal;
                break;
            case MicSignal::Clipping:
                r.state = MicReading::State::Clipping;
                break;
        }
    }
    return r;
}

void Microphone::Captured(const float* samples, std::size_t frames, void* self) {
    auto* mic = static_cast<Microphone*>(self);
    const double now = static_cast<double>(app::MillisecondClock());
    mic->lastCaptureMs_.store(now, std::memory_order_relaxed);
    mic->KeepPeak(samples, frames);
    if (mic->requestedMode_.load(std::memory_order_relaxed) == static_cast<int>(MicMode::Off)) return;
    // The first sample of this buffer was captured its length plus the input latency ago.
    const double rate = mic->captureRate_.load(std::memory_order_relaxed);
    const double clock = now - mic->captureLatencyMs_.load(std::memory_order_relaxed) -
                         static_cast<double>(frames) * 1000.0 / rate;
    mic->Push(samples, frames, clock, rate);
}

void Microphone::Feed(const float* samples, std::size_t count, double clockMsOfFirst, double rate) {
    if (Open()) return;
    KeepPeak(samples, count);
    Push(samples, count, clockMsOfFirst, rate);
}

void Microphone::KeepPeak(const float* samples, std::size_t count) {
    float peak = 0.0f;
    for (std::size_t i = 0; i < count; ++i) peak = std::max(peak, std::fabs(samples[i]));
    // Only the capture side raises it and only the reader clears it: a lost race costs one buffer.
    if (peak > peak_.load(std::memory_order_relaxed)) peak_.store(peak, std::memory_order_relaxed);
}

float Microphone::TakePeak() {
    return peak_.exchange(0.0f, std::memory_order_relaxed);
}

void Microphone::Push(const float* samples, std::size_t count, double clockMs, double rate) {
    while (count > 0) {
        const std::size_t head = head_.load(std::memory_order_relaxed);
        if (head - tail_.load(std::memory_order_acquire) >= kBlocks) return;  // the worker lags: drop
        Block& b = (*blocks_)[head % kBlocks];
        b.count = std::min(count, kBlockFrames);
        std::copy_n(samples, b.count, b.samples.begin());
        b.clockMs = clockMs;
        b.rate = rate;
        head_.store(head + 1, std::memory_order_release);
        arrived_.release();
        samples += b.count;
        clockMs += static_cast<double>(b.count) * 1000.0 / rate;
        count -= b.count;
    }
}

void Microphone::Drain() {
    const std::size_t until = head_.load();
    for (std::size_t done = analysed_.load(); done < until; done = analysed_.load()) analysed_.wait(done);
}

bool Microphone::StreamStopped() const {
    std::unique_lock lock(streamMutex_, std::try_to_lock);
    if (!lock.owns_lock() || !open_) return false;
    // Stopped, or silent: a device pulled out may leave the stream running without callbacks.
    const double now = static_cast<double>(app::MillisecondClock());
    return !capture_->Running() || now - lastCaptureMs_.load() > kMicSilentStreamMs;
}

void Microphone::Work(std::stop_token stop) {
    MicAnalyzer analyzer;
    std::uint64_t analysing = generation_.load();
    std::vector<MicDetection> found;
    while (!stop.stop_requested()) {
        const std::uint64_t generation = generation_.load();
        const auto mode = static_cast<MicMode>(requestedMode_.load());
        if (generation != analysing || analyzer.Mode() != mode) {
            std::lock_guard lock(configMutex_);
            analyzer.Configure(config_);
            analyzer.SetPitchRange(rangeLow_.load(), rangeHigh_.load());
            analyzer.Begin(mode);
            analysing = generation;
            signal_ = static_cast<int>(analyzer.Signal());
        }
        TakeProgramSounds(analyzer);
        if (mode != MicMode::Off && !streamLost_ && StreamStopped()) {
            streamLost_ = true;
            post_(kMicEventMessage, kMicStreamLost, 0, generation);
        }
        const std::size_t tail = tail_.load(std::memory_order_relaxed);
        if (tail == head_.load(std::memory_order_acquire)) {
            (void)arrived_.try_acquire_for(kWorkerIdle);
            continue;
        }
        const Block& b = (*blocks_)[tail % kBlocks];
        (void)arrived_.try_acquire();  // this block's, so that the count stays within the queue's
        found.clear();
        analyzer.Feed(b.samples.data(), b.count, b.clockMs, found, b.rate);
        tail_.store(tail + 1, std::memory_order_release);
        levelDb_ = analyzer.LevelDb();
        if (const int heard = static_cast<int>(analyzer.Signal()); heard != signal_.exchange(heard)) {
            post_(kMicEventMessage, kMicSignalChanged, heard, generation);
        }
        for (const MicDetection& d : found) {
            if (d.kind == MicDetection::Kind::Clap) {
                post_(kMicEventMessage, kMicClapParam, static_cast<std::int64_t>(std::llround(d.clockMs)),
                      generation);
            } else if (unacknowledged_.fetch_add(1) < kMaxUnacknowledgedNotes) {
                // A note's end goes as note 0: silence to the pitch exercises.
                post_(kMicNoteMessage, static_cast<std::uint32_t>(d.note), 0, generation);
            } else {
                --unacknowledged_;
            }
        }
        analysed_.store(tail + 1);
        analysed_.notify_all();
    }
}

}  // namespace kalvintor::sound
