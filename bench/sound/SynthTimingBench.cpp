// How exactly the built-in synthesizer path places notes as the program plays them: the sequencer's
// timeline handed to the playback thread, which stamps each note ahead on the synthesizer's sample
// clock, here the silent clock of a machine without a sound card. What the synthesizer renders is
// kept, each onset is found in the audio and compared with its time. Argument 1 keeps the other
// core busy meanwhile.
#include "AudioAnalysis.h"
#include "BenchLoad.h"

#include "sound/BuiltinOutPort.h"
#include "sound/MidiMessage.h"
#include "sound/TSequencer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

using namespace kalvintor::sound;
namespace an = kalvintor::sound::analysis;

namespace {

constexpr int kNotes = 60;
constexpr int kTempo = 120;
constexpr std::uint8_t kSideStick = 37;
// The first note comes this long after the start (37.5 ms at tempo 120), off the clock's blocks.
constexpr std::int32_t kLeadTicks = 50;

// Keeps the left channel of what the synthesizer renders, in room reserved beforehand: the audio
// thread never allocates. Frame n of the capture is sample n of the synthesizer's clock.
class Capture final : public OutputMonitor {
public:
    explicit Capture(std::size_t frames) : left_(frames) {}
    void Rendered(const float* left, const float*, int frames) override {
        const std::size_t at = filled_.load(std::memory_order_relaxed);
        const std::size_t n = std::min(static_cast<std::size_t>(frames), left_.size() - at);
        std::copy(left, left + n, left_.begin() + static_cast<std::ptrdiff_t>(at));
        filled_.store(at + n, std::memory_order_release);
    }
    std::vector<float> Taken() const {
        const auto n = static_cast<std::ptrdiff_t>(filled_.load(std::memory_order_acquire));
        return {left_.begin(), left_.begin() + n};
    }

private:
    std::vector<float> left_;
    std::atomic<std::size_t> filled_{0};
};

void AddNotes(TSequencer& sequencer, const std::vector<std::int32_t>& gaps) {
    for (std::int32_t gap : gaps) {
        sequencer.SeqAddEvent(1, static_cast<std::int32_t>(NoteOnMessage(9, kSideStick, 110)),
                              SeqEventKind::Message);
        sequencer.SeqAddEvent(1, gap, SeqEventKind::Delay);
    }
}

// Note times in ms after the start of playback.
std::vector<double> NoteTimes(const std::vector<std::int32_t>& gaps) {
    std::vector<double> times;
    std::int64_t tick = kLeadTicks;
    for (std::int32_t gap : gaps) {
        times.push_back(TicksToMs(tick, kTempo));
        tick += gap;
    }
    return times;
}

// The instrument's own attack: a note rendered offline that starts exactly on a block.
double AttackMs() {
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
    BuiltinOutPort port(*created.synth);
    TSequencer sequencer;
    sequencer.SeqSetOutput(&port);
    sequencer.SeqSetTempo(kTempo);
    AddNotes(sequencer, {672});
    std::vector<float> left, right;
    sequencer.SeqStart();
    port.RenderOffline(left, right, static_cast<std::size_t>(0.5 * kSynthSampleRate));
    return an::FindOnsets(left, {0.0}, kSynthSampleRate)[0];
}

void BM_SynthOnsetError(benchmark::State& state) {
    const bool loaded = state.range(0) == 1;
    const double attack = AttackMs();
    std::mt19937 random(42);
    const std::int32_t choices[] = {252, 336, 420, 504};
    std::vector<std::int32_t> gaps;
    for (int i = 0; i < kNotes; ++i)
        gaps.push_back(choices[random() % 4] + static_cast<std::int32_t>(random() % 13));
    const std::vector<double> times = NoteTimes(gaps);
    const double lengthMs = times.back() + 1000.0;

    double worst = 0, sum = 0, spread = 0;
    for (auto _ : state) {
        Capture capture(static_cast<std::size_t>((lengthMs + 2000.0) * kSynthSampleRate / 1000.0));
        // No audio driver is tried: the silent clock keeps time as on a machine without sound card.
        SynthOptions options;
        options.drivers = {};
        options.monitor = &capture;
        BuiltinSynth::Created created = BuiltinSynth::Create(options);
        if (!created.synth || created.synth->Output() != AudioOutput::SilentClock) {
            state.SkipWithError("the synthesizer did not run on its silent clock");
            return;
        }
        std::vector<double> errors;
        {
            BuiltinOutPort port(*created.synth);
            TSequencer sequencer;
            sequencer.SeqSetOutput(&port);
            sequencer.SeqSetTempo(kTempo);
            sequencer.SeqAddEvent(1, kLeadTicks, SeqEventKind::Delay);
            AddNotes(sequencer, gaps);
            const bench::CpuLoad load(loaded);
            // Started just after the clock has moved, so that the start time read here is the
            // one the playback thread reads.
            const double before = created.synth->NowMs();
            while (created.synth->NowMs() == before)
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            const double startMs = created.synth->NowMs();
            sequencer.SeqStart();
            if (created.synth->NowMs() != startMs) {
                state.SkipWithError("the clock moved while playback started");
                return;
            }
            std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(lengthMs));
            const std::vector<float> audio = capture.Taken();
            std::vector<double> expected;
            for (double t : times) expected.push_back(startMs + t);
            const std::vector<double> onsets = an::FindOnsets(audio, expected, kSynthSampleRate);
            for (std::size_t i = 0; i < onsets.size(); ++i)
                errors.push_back(onsets[i] - expected[i] - attack);
        }
        worst = sum = 0;
        double lo = errors.front(), hi = errors.front();
        for (double e : errors) {
            worst = std::max(worst, std::fabs(e));
            sum += std::fabs(e);
            lo = std::min(lo, e);
            hi = std::max(hi, e);
        }
        spread = hi - lo;
    }
    state.counters["onset_error_max_ms"] = worst;
    state.counters["onset_error_mean_ms"] = sum / kNotes;
    state.counters["onset_spread_ms"] = spread;
    state.counters["notes"] = kNotes;
    state.counters["realtime_granted"] = bench::RealtimeGranted() ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_SynthOnsetError)
    ->ArgName("loaded")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
