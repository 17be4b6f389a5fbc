// Rhythm engine benchmarks: the figures come out as counters (notes per rhythm, tries per note).
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

void BM_GenerateTwelveBars(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(static_cast<int>(state.range(0))));
    app::SeedRandom(1);
    app::SetRandomizeClock(nullptr);
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
    app::SeedRandom(2);
    engine.Generate();
    for (auto _ : state) benchmark::DoNotOptimize(engine.InjectErrors());
}
BENCHMARK(BM_InjectErrors);

void BM_LayoutTwelveBars(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(8));
    app::SeedRandom(3);
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

void BM_EvaluateFullTaps(benchmark::State& state) {
    TRytme engine;
    engine.Setup(largestSetup(8));
    app::SeedRandom(4);
    engine.Generate();
    engine.StartTaps();
    std::int64_t t = engine.TapZero();
    for (const auto& n : engine.voice(0)) {
        engine.AddTap(t + 3);
        t += n.duration;
    }
    std::string message;
    for (auto _ : state) benchmark::DoNotOptimize(engine.Evaluate(90, message));
    state.counters["taps"] = benchmark::Counter(static_cast<double>(engine.TapCount()));
    state.counters["notes"] = benchmark::Counter(static_cast<double>(engine.voice(0).size()));
}
BENCHMARK(BM_EvaluateFullTaps);

}  // namespace
