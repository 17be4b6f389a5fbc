// The microphone benchmarks' path to the detector: the one the program takes. Samples go into the
// microphone component in capture buffers of 256 frames, set up from the settings as the program
// sets it up; its worker thread analyses them and posts messages 1281 and 1282, which the
// benchmark receives and acknowledges as the main window does.
#pragma once

#include "settings/SettingRecord.h"
#include "sound/MicSession.h"
#include "sound/Microphone.h"
#include "sound/SoundEvents.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <mutex>
#include <vector>

namespace kalvintor::sound::bench {

inline constexpr std::size_t kCaptureFrames = 256;

// A message as the program receives it. `atMs`: on the stream's clock, when the capture buffer that
// led to it was complete, plus the measured time from that buffer's hand-over to the post.
struct Heard {
    int message = 0;
    std::uint32_t wParam = 0;
    std::int64_t lParam = 0;
    double atMs = 0;
};

inline double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

class MicPath {
public:
    // `exercise`: 1 (singing, tone detection) or 4 (clapping, rhythm detection). `low` > `high`:
    // any note a voice sings.
    MicPath(int exercise, int low, int high, const settings::Settings& settings = settings::defaultSettings())
        : mic_([this](int m, std::uint32_t w, std::int64_t l, std::uint64_t) { Posted(m, w, l); }, nullptr),
          session_(mic_) {
        session_.MicSetup(settings);
        mic_.SetPitchRange(low, high);
        session_.MicBegin(static_cast<std::uint8_t>(exercise));
    }

    Microphone& microphone() { return mic_; }

    // Feeds the stream, its first sample at `clockMs`, buffer by buffer, each analysed before the
    // next is captured; the process's CPU time goes into `cpuSeconds`.
    std::vector<Heard> Run(const std::vector<float>& x, double clockMs, double& cpuSeconds) {
        const double before = ProcessCpuSeconds();
        const double rate = kMicSampleRate;
        for (std::size_t i = 0; i < x.size(); i += kCaptureFrames) {
            const std::size_t n = std::min(kCaptureFrames, x.size() - i);
            const double first = clockMs + static_cast<double>(i) * 1000.0 / rate;
            bufferEndMs_ = first + static_cast<double>(n) * 1000.0 / rate;
            handedOver_ = std::chrono::steady_clock::now();
            mic_.Feed(x.data() + i, n, first);
            mic_.Drain();
            AcknowledgeNotes();
        }
        cpuSeconds += ProcessCpuSeconds() - before;
        std::lock_guard lock(mutex_);
        return std::exchange(heard_, {});
    }

private:
    void Posted(int message, std::uint32_t wParam, std::int64_t lParam) {
        const double handOverMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - handedOver_).count();
        std::lock_guard lock(mutex_);
        heard_.push_back({message, wParam, lParam, bufferEndMs_ + handOverMs});
        if (message == kMicNoteMessage) ++unacknowledged_;
    }
    void AcknowledgeNotes() {
        std::lock_guard lock(mutex_);
        for (; unacknowledged_ > 0; --unacknowledged_) mic_.MicAcknowledge();
    }

    std::mutex mutex_;
    std::vector<Heard> heard_;
    int unacknowledged_ = 0;
    double bufferEndMs_ = 0;
    std::chrono::steady_clock::time_point handedOver_;
    Microphone mic_;
    MicSession session_;
};

}  // namespace kalvintor::sound::bench
