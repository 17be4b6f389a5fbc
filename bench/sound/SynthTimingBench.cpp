// How exactly the built-in synthesizer path places notes: 200 notes rendered offline, each onset
// found in the audio and compared with its time.
#include "AudioAnalysis.h"

#include "sound/BuiltinOutPort.h"
#include "sound/MidiMessage.h"
#include "sound/TSequencer.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace kalvintor::sound;
namespace an = kalvintor::sound::analysis;

namespace {

constexpr int kNotes = 200;
constexpr int kTempo = 120;
constexpr std::uint8_t kSideStick = 37;

// Renders a timeline of side-stick notes after `leadMs` and returns their onset errors in ms.
std::vector<double> OnsetErrors(const std::vector<std::int32_t>& gaps, double leadMs) {
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
    BuiltinOutPort port(*created.synth);
    TSequencer sequencer;
    sequencer.SeqSetOutput(&port);
    sequencer.SeqSetTempo(kTempo);
    std::vector<double> expected;
    std::int64_t tick = 0;
    for (std::int32_t gap : gaps) {
        expected.push_back(leadMs + TicksToMs(tick, kTempo));
        sequencer.SeqAddEvent(1, static_cast<std::int32_t>(NoteOnMessage(9, kSideStick, 110)),
                              SeqEventKind::Message);
        sequencer.SeqAddEvent(1, gap, SeqEventKind::Delay);
        tick += gap;
    }
    std::vector<float> left, right;
    port.RenderOffline(left, right, static_cast<std::size_t>(leadMs * kSynthSampleRate / 1000.0));
    sequencer.SeqStart();
    port.RenderOffline(left, right,
                       static_cast<std::size_t>((TicksToMs(tick, kTempo) + 300) * kSynthSampleRate / 1000.0));
    const std::vector<double> onsets = an::FindOnsets(left, expected, kSynthSampleRate);
    std::vector<double> errors;
    for (std::size_t i = 0; i < onsets.size(); ++i) errors.push_back(onsets[i] - expected[i]);
    return errors;
}

void BM_SynthOnsetError(benchmark::State& state) {
    // The instrument's own attack, measured on a note that starts exactly on a block.
    const double attack = OnsetErrors({672}, 0.0)[0];
    std::mt19937 random(42);
    const std::int32_t choices[] = {252, 336, 420, 504, 672, 1008};
    std::vector<std::int32_t> gaps;
    for (int i = 0; i < kNotes; ++i)
        gaps.push_back(choices[random() % 6] + static_cast<std::int32_t>(random() % 13));
    double worst = 0, sum = 0;
    for (auto _ : state) {
        const std::vector<double> errors = OnsetErrors(gaps, 37.3);
        worst = 0;
        sum = 0;
        for (double e : errors) {
            worst = std::max(worst, std::fabs(e - attack));
            sum += std::fabs(e - attack);
        }
        benchmark::DoNotOptimize(errors.data());
    }
    state.counters["onset_error_max_ms"] = worst;
    state.counters["onset_error_mean_ms"] = sum / kNotes;
    state.counters["notes"] = kNotes;
}

}  // namespace

BENCHMARK(BM_SynthOnsetError)->Iterations(1)->Unit(benchmark::kMillisecond);
