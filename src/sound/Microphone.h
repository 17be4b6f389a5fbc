// The microphone component: capture through PortAudio, analysis on a worker thread, and messages
// 1281 (a sung note) and 1282 (a clap, or the component's own message) posted to the program.
#pragma once

#include "sound/MicAnalyzer.h"
#include "sound/MicSession.h"

#include <portaudio.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace kalvintor::sound {

// The component's own message (wParam of 1282 below 999): the capture stream stopped by itself.
inline constexpr std::uint32_t kMicStreamLost = 1;
// Notes posted but not yet acknowledged, beyond which further notes are dropped.
inline constexpr int kMaxUnacknowledgedNotes = 8;

class Microphone final : public MicComponent {
public:
    // Runs on the worker thread: message number, wParam, lParam, and the detection generation
    // that IsCurrent checks on arrival.
    using Post =
        std::function<void(int message, std::uint32_t wParam, std::int64_t lParam, std::uint64_t generation)>;

    explicit Microphone(Post post);
    ~Microphone() override;
    Microphone(const Microphone&) = delete;
    Microphone& operator=(const Microphone&) = delete;

    int MicOpen() override;
    void MicConfigure(std::int32_t rhythmThreshold, std::uint8_t highPrecision,
                      double toneThreshold) override;
    void MicStartTone() override { StartDetection(MicMode::Tone); }
    void MicStartRhythm() override { StartDetection(MicMode::Rhythm); }
    void MicStop() override;
    void MicAcknowledge() override;
    std::uint8_t MicGetNote(std::uint8_t lowByte, std::uint8_t& unread) override;
    void MicHandleMessage(std::uint32_t wParam) override;
    void MicClose() override;

    // Samples from another source than the microphone (tests): handled as captured ones. Only
    // while no capture stream is open.
    void Feed(const float* samples, std::size_t count, double clockMsOfFirst);
    bool IsCurrent(std::uint64_t generation) const { return generation == generation_.load(); }
    std::uint64_t Generation() const { return generation_.load(); }
    bool Open() const;
    // Blocks until the worker has analysed everything queued so far.
    void Drain();

private:
    static constexpr std::size_t kBlockFrames = 512;
    static constexpr std::size_t kBlocks = 256;  // about three seconds of audio
    struct Block {
        std::array<float, kBlockFrames> samples{};
        std::size_t count = 0;
        double clockMs = 0;
    };

    static int Capture(const void* input, void* output, unsigned long frames,
                       const PaStreamCallbackTimeInfo* time, PaStreamCallbackFlags flags, void* self);
    void Push(const float* samples, std::size_t count, double clockMs);
    void StartDetection(MicMode mode);
    void Work(std::stop_token stop);
    bool StreamStopped() const;

    Post post_;
    std::mutex configMutex_;
    MicConfig config_;
    std::atomic<int> requestedMode_{static_cast<int>(MicMode::Off)};
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<int> unacknowledged_{0};
    std::atomic<bool> streamLost_{false};

    // Single producer (capture or Feed), single consumer (the worker).
    std::unique_ptr<std::array<Block, kBlocks>> blocks_;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
    std::atomic<std::size_t> analysed_{0};

    bool paInitialised_ = false;
    struct StreamCloser {
        void operator()(PaStream* s) const;
    };
    mutable std::mutex streamMutex_;  // the worker checks the stream the user-interface thread owns
    std::unique_ptr<PaStream, StreamCloser> stream_;
    double captureLatencyMs_ = 0;
    std::jthread worker_;
};

}  // namespace kalvintor::sound
