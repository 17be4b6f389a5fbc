// Pitch rule benchmarks: how long one question, one melody and a full Chord.dat round take.
#include "exercises/pitch/Generation.h"
#include "app/Random.h"
#include "theory/ChordFile.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

using namespace kalvintor;
using namespace kalvintor::pitch;

void BM_ProgressionQuestion(benchmark::State& state) {
    auto block = defaultSetupBlock(PitchExercise::Progressions);
    block.entryEnabled.fill(0);
    for (int e = 1; e <= 35; ++e) block.entryEnabled[static_cast<std::size_t>(e - 1)] = 1;
    block.option = 242;  // random inversions with the root bass
    PitchExerciseState exercise;
    exercise.mode = ExerciseMode::Progression;
    const auto& catalogue = theory::BuiltInCatalogue();
    ApplySetup(exercise, block, catalogue, true, true);
    for (auto _ : state) benchmark::DoNotOptimize(GenerateQuestion(exercise, catalogue));
    state.counters["questions_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ProgressionQuestion);

// The longest melody over a progression, with rhythm: the most tries the walk can take.
// melodies_per_s counts the melodies made; a generation that gives up is not one. The reseeding
// before every question reads a counter instead of the clock, so every run makes the same melodies.
void BM_Melody(benchmark::State& state) {
    MelodySetup melody;
    melody.length = 11;
    melody.largestLeap = 3;
    melody.ambitus = 5;
    melody.melodyType = static_cast<std::uint8_t>(state.range(0));
    melody.rhythm = 1;
    melody.keys.fill(1);
    PitchExerciseState exercise;
    exercise.mode = ExerciseMode::Melody;
    ApplyMelodySetup(exercise, melody, true, true);
    app::SeedRandom(5);
    app::SetRandomizeClock([next = std::uint64_t{5}]() mutable { return next++; });
    std::int64_t made = 0;
    for (auto _ : state)
        made += GenerateQuestion(exercise, theory::BuiltInCatalogue()) == GenerateResult::Generated;
    app::SetRandomizeClock(nullptr);
    if (made == 0) state.SkipWithError("no melody was made");
    state.counters["melodies_per_s"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kIsRate);
    state.counters["failed_share"] =
        static_cast<double>(state.iterations() - made) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_Melody)->Arg(0)->Arg(8)->Arg(16)->UseRealTime();

// A file holding every user entry: read over the built-in catalogue and stored back in place.
void BM_ChordFileRound(benchmark::State& state) {
    theory::ChordCatalogue catalogue = theory::BuiltInCatalogue();
    for (int n = 32; n <= 60; ++n) catalogue.scales().entry(n) = catalogue.scales().entry(1);
    for (int n = 36; n <= 60; ++n) catalogue.progressions().entry(n) = catalogue.progressions().entry(35);
    const theory::CatalogueFileSnapshot snapshot;
    const auto file = theory::StoreChordFile({}, catalogue, snapshot);
    for (auto _ : state) {
        theory::ChordCatalogue working = theory::BuiltInCatalogue();
        theory::ReadChordFile(file, working);
        benchmark::DoNotOptimize(theory::StoreChordFile(file, working, snapshot));
    }
    state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(BM_ChordFileRound);

}  // namespace
