// The microphone component.
#include "sound/Microphone.h"

#include "app/Clock.h"
#include "sound/QuietAudio.h"
#include "sound/SoundEvents.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace kalvintor::sound {

namespace {
constexpr unsigned long kCaptureFrames = 256;
constexpr auto kWorkerIdle = std::chrono::milliseconds(3);
}  // namespace

void Microphone::StreamCloser::operator()(PaStream* s) const {
    Pa_AbortStream(s);
    Pa_CloseStream(s);
}

Microphone::Microphone(Post post)
    : post_(std::move(post)), blocks_(std::make_unique<std::array<Block, kBlocks>>()) {
    worker_ = std::jthread([this](std::stop_token stop) { Work(stop); });
}

Microphone::~Microphone() {
    MicClose();
    worker_ = std::jthread();
}

bool Microphone::Open() const {
    std::lock_guard lock(streamMutex_);
    return stream_ != nullptr;
}

int Microphone::MicOpen() {
    std::lock_guard lock(streamMutex_);
    if (stream_ != nullptr) return 1;
    QuietAudioLibraries();
    if (!paInitialised_) {
        if (Pa_Initialize() != paNoError) return 0;
        paInitialised_ = true;
    }
    const PaDeviceIndex device = Pa_GetDefaultInputDevice();
    if (device == paNoDevice) return 0;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr || info->maxInputChannels < 1) return 0;
    PaStreamParameters input{device, 1, paFloat32, info->defaultLowInputLatency, nullptr};
    PaStream* raw = nullptr;
    // The analysis rate if the device gives it, else the device's own (converted in analysis).
    double rate = kMicSampleRate;
    if (Pa_IsFormatSupported(&input, nullptr, rate) != paFormatIsSupported) rate = info->defaultSampleRate;
    if (!(rate >= kMicLowestRate && rate <= kMicHighestRate)) return 0;
    if (Pa_OpenStream(&raw, &input, nullptr, rate, kCaptureFrames, paClipOff, &Microphone::Capture, this) !=
        paNoError) {
        return 0;
    }
    captureRate_ = rate;
    lastCaptureMs_ = static_cast<double>(app::MillisecondClock());
    stream_.reset(raw);
    if (const PaStreamInfo* si = Pa_GetStreamInfo(raw)) captureLatencyMs_ = si->inputLatency * 1000.0;
    streamLost_ = false;
    if (Pa_StartStream(raw) != paNoError) {
        stream_.reset();
        return 0;
    }
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
        stream_.reset();
    }
}

void Microphone::MicClose() {
    MicStop();
    std::lock_guard lock(streamMutex_);
    stream_.reset();
    if (paInitialised_) {
        Pa_Terminate();
        paInitialised_ = false;
    }
}

int Microphone::Capture(const void* input, void*, unsigned long frames, const PaStreamCallbackTimeInfo*,
                        PaStreamCallbackFlags, void* self) {
    auto* mic = static_cast<Microphone*>(self);
    if (input != nullptr) mic->KeepPeak(static_cast<const float*>(input), frames);
    if (input != nullptr &&
        mic->requestedMode_.load(std::memory_order_relaxed) != static_cast<int>(MicMode::Off)) {
        // The first sample of this buffer was captured its length plus the input latency ago.
        const double now = static_cast<double>(app::MillisecondClock());
        const double rate = mic->captureRate_.load(std::memory_order_relaxed);
        const double clock = now - mic->captureLatencyMs_ - static_cast<double>(frames) * 1000.0 / rate;
        mic->lastCaptureMs_.store(now, std::memory_order_relaxed);
        mic->Push(static_cast<const float*>(input), frames, clock, rate);
    }
    return paContinue;
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
        samples += b.count;
        clockMs += static_cast<double>(b.count) * 1000.0 / rate;
        count -= b.count;
    }
}

void Microphone::Drain() {
    while (analysed_.load() < head_.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool Microphone::StreamStopped() const {
    std::unique_lock lock(streamMutex_, std::try_to_lock);
    if (!lock.owns_lock() || stream_ == nullptr) return false;
    // Stopped, or silent: a device pulled out may leave the stream running without callbacks.
    const double now = static_cast<double>(app::MillisecondClock());
    return Pa_IsStreamActive(stream_.get()) != 1 || now - lastCaptureMs_.load() > kMicSilentStreamMs;
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
            std::this_thread::sleep_for(kWorkerIdle);
            continue;
        }
        const Block& b = (*blocks_)[tail % kBlocks];
        found.clear();
        analyzer.Feed(b.samples.data(), b.count, b.clockMs, found, b.rate);
        tail_.store(tail + 1, std::memory_order_release);
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
    }
}

}  // namespace kalvintor::sound
