// Rhythm engine benchmarks: the figures come out as counters (notes per rhythm, tries per note).
// Every rhythm is reproducible: the generator's reseeding before each rhythm reads a counter
// instead of the clock, so every run measures the same rhythms.
#include "app/Random.h"
#include "exercises/rhythm/Rytme.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kalvintor;
using namespace kalvintor::rhythm;

// Twelve bars of the given meter with every value and triplet, dots, rests and ties.
RhythmSetup largestSetup(int meter) {
    RhythmSetup s;
    s.meters[static_cast<std::size_t>(meter - 1)] = 1;
    s.noteValues.fill(1);
    s.triplets = tripletBit(kHalf) | tripletBit(kQuarter) | tripletBit(kEighth) | tripletBit(kSixteenth);
    s.dotted = s.rests = s.ties = 1;
    s.bars = kMaxBars;
    return s;
}

// Fixed seeds for the generator: `first` for the rhythm made first, one more for each after it.
class FixedSeeds {
public:
    explicit FixedSeeds(std::uint64_t first) {
        app::SeedRandom(first);
        app::SetRandomizeClock([next = first]() mutable { return next++; });
    }
    ~FixedSeeds() { app::SetRandomizeClock(nullptr); }
    FixedSeeds(const FixedSeeds&) = delete;
    FixedSeeds& operator=(const FixedSeeds&) = delete;
};

void BM_GenerateTwelveBars(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(static_cast<int>(state.range(0))));
    const FixedSeeds seeds(1);
    std::int64_t notes = 0;
    for (auto _ : state) {
        engine.Generate();
        notes += static_cast<std::int64_t>(engine.voice(0).size());
    }
    state.counters["notes_per_rhythm"] =
        benchmark::Counter(static_cast<double>(notes) / static_cast<double>(state.iterations()));
    state.counters["notes_per_second"] =
        benchmark::Counter(static_cast<double>(notes), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_GenerateTwelveBars)->Arg(4)->Arg(8)->Arg(11);  // 4/4, 4/2, 12/8

void BM_InjectErrors(benchmark::State& state) {
    TRytme engine;
    RhythmSetup s = largestSetup(4);
    s.errors = 5;
    engine.Setup(s);
    const FixedSeeds seeds(2);
    engine.Generate();
    for (auto _ : state) benchmark::DoNotOptimize(engine.InjectErrors());
}
BENCHMARK(BM_InjectErrors);

void BM_LayoutTwelveBars(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(8));
    const FixedSeeds seeds(3);
    engine.Generate();
    std::size_t marks = 0;
    for (auto _ : state) {
        const auto layout = engine.Layout(0, 800);
        marks = layout.glyphs.size() + layout.rects.size() + layout.ties.size();
        benchmark::DoNotOptimize(marks);
    }
    state.counters["notes"] = benchmark::Counter(static_cast<double>(engine.voice(0).size()));
    state.counters["marks"] = benchmark::Counter(static_cast<double>(marks));
}
BENCHMARK(BM_LayoutTwelveBars);

// A tap on every sounding note, 3 ms late, at tempo 120: the taps are the notes' times in
// milliseconds on the tap clock, as a student's key presses arrive (a tick is 0.75 ms here).
void BM_EvaluateFullTaps(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(8));
    engine.SetTempo(120);
    const FixedSeeds seeds(4);
    engine.Generate();
    engine.StartTapsAt(100000);
    const Voice& voice = engine.voice(0);
    std::int64_t ticks = 0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const bool sounding = !voice[i].rest && (i == 0 || !voice[i - 1].tied);
        if (sounding) engine.AddTap(engine.TapZero() + ticks * kTickTempo / engine.Tempo() + 3);
        ticks += voice[i].duration;
    }
    std::string message;
    int score = 0;
    for (auto _ : state) {
        score = engine.Evaluate(90, message);
        benchmark::DoNotOptimize(score);
    }
    if (score < 100) state.SkipWithError("taps on time were not judged right");
    state.counters["taps"] = benchmark::Counter(static_cast<double>(engine.TapCount()));
    state.counters["notes"] = benchmark::Counter(static_cast<double>(voice.size()));
    state.counters["score"] = benchmark::Counter(static_cast<double>(score));
}
BENCHMARK(BM_EvaluateFullTaps);

}  // namespace
