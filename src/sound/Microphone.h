// The microphone component: capture (PortAudio's default input unless another is given), analysis
// on a worker thread, and messages 1281 (a sung note) and 1282 (a clap, or the component's own
// message) posted to the program.
#pragma once

#include "sound/MicAnalyzer.h"
#include "sound/MicCapture.h"
#include "sound/MicSession.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace kalvintor::sound {

// The component's own messages (wParam of 1282 below 999): the capture stream stopped by itself
// (or delivers nothing any more), and what the microphone hears as a whole changed (Signal).
inline constexpr std::uint32_t kMicStreamLost = 1;
inline constexpr std::uint32_t kMicSignalChanged = 2;
// A capture stream that delivers nothing for this long has gone away.
inline constexpr double kMicSilentStreamMs = 1000.0;
// Notes posted but not yet acknowledged, beyond which further notes are dropped.
inline constexpr int kMaxUnacknowledgedNotes = 8;

class Microphone final : public MicComponent {
public:
    // Runs on the worker thread: message number, wParam, lParam, and the detection generation
    // that IsCurrent checks on arrival.
    using Post =
        std::function<void(int message, std::uint32_t wParam, std::int64_t lParam, std::uint64_t generation)>;

    explicit Microphone(Post post, std::unique_ptr<MicCapture> capture = MakePortAudioCapture());
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
    void Feed(const float* samples, std::size_t count, double clockMsOfFirst, double rate = kMicSampleRate);
    // The notes the current exercise asks for (singing outside them is no answer); from the next
    // MicStartTone on. low > high: any note a voice sings.
    void SetPitchRange(int low, int high);
    // What the program plays (question and answer notes, metronome clicks), on the millisecond
    // clock: the microphone hears it too, and it is not taken as the student's. Any thread.
    void ProgramSound(const OwnSound& sound);
    // What the microphone hears as a whole; kMicSignalChanged is posted when it changes.
    MicSignal Signal() const { return static_cast<MicSignal>(signal_.load()); }
    // The level it hears now and its state, for the exercise window to show.
    MicReading Reading() const;
    // The rate the capture stream runs at (the device's own when it cannot give 44.1 kHz).
    double CaptureRate() const { return captureRate_.load(); }
    // The loudest sample captured since the last call (0..1), for a level meter; measured while the
    // stream runs, with or without detection.
    float TakePeak();
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
        double rate = kMicSampleRate;
    };

    static void Captured(const float* samples, std::size_t frames, void* self);
    void Push(const float* samples, std::size_t count, double clockMs, double rate);
    void StartDetection(MicMode mode);
    void KeepPeak(const float* samples, std::size_t count);
    void Work(std::stop_token stop);
    bool StreamStopped() const;
    void TakeProgramSounds(MicAnalyzer& analyzer);

    Post post_;
    std::mutex configMutex_;
    MicConfig config_;
    std::atomic<int> requestedMode_{static_cast<int>(MicMode::Off)};
    std::atomic<std::uint64_t> generation_{0};
    std::atomic<int> unacknowledged_{0};
    std::atomic<bool> streamLost_{false};
    std::atomic<float> peak_{0.0f};
    std::atomic<int> signal_{static_cast<int>(MicSignal::Listening)};
    std::atomic<int> rangeLow_{kMicLowestNote};
    std::atomic<int> rangeHigh_{kMicHighestNote};
    std::atomic<double> captureRate_{kMicSampleRate};
    std::atomic<double> lastCaptureMs_{0};
    std::atomic<double> levelDb_{kMicSilentDb};
    std::mutex soundsMutex_;  // the user-interface thread hands over, the worker takes
    std::vector<OwnSound> programSounds_;

    // Single producer (capture or Feed), single consumer (the worker).
    std::unique_ptr<std::array<Block, kBlocks>> blocks_;
    std::atomic<std::size_t> head_{0};
    std::atomic<std::size_t> tail_{0};
    std::atomic<std::size_t> analysed_{0};
    // Released for each buffer queued (never blocks the capture thread), acquired by the worker.
    std::counting_semaphore<kBlocks * 16> arrived_{0};

    mutable std::mutex streamMutex_;  // the worker checks the stream the user-interface thread owns
    std::unique_ptr<MicCapture> capture_;
    bool open_ = false;
    std::atomic<double> captureLatencyMs_{0};
    std::jthread worker_;
};

}  // namespace kalvintor::sound
