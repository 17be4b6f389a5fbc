// The microphone detector on generated signals: how many sung notes it gets right and how soon,
// how exactly it times claps, and what it costs.
#include "Signals.h"

#include "sound/MicAnalyzer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <random>

using namespace kalvintor::sound;
namespace sig = kalvintor::sound::testsignals;

namespace {

constexpr double kSilenceMs = 300;
constexpr double kToneMs = 600;
constexpr double kSnrDb = 20;

std::vector<MicDetection> Analyze(MicAnalyzer& analyzer, const std::vector<float>& x,
                                  std::size_t chunk = 256) {
    std::vector<MicDetection> out;
    for (std::size_t i = 0; i < x.size(); i += chunk) {
        analyzer.Feed(x.data() + i, std::min(chunk, x.size() - i),
                      static_cast<double>(i) * 1000.0 / sig::kRate, out);
    }
    return out;
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_PitchDetection(benchmark::State& state) {
    // Every note from E2 to C6 as a sine, the synthesizer's piano and a sawtooth with ±20 cents of
    // vibrato, each with noise 20 dB below it.
    std::vector<std::pair<int, std::vector<float>>> tones;
    for (int note = 40; note <= 84; ++note) {
        std::vector<std::vector<float>> voices = {
            sig::Tone(sig::Voice::Sine, note, kSilenceMs, kToneMs), sig::Piano(note, kSilenceMs, kToneMs),
            sig::Tone(sig::Voice::Sawtooth, note, kSilenceMs, kToneMs, 20)};
        for (auto& v : voices) {
            sig::AddNoise(v, kSnrDb, static_cast<unsigned>(note * 3 + tones.size()));
            tones.push_back({note, std::move(v)});
        }
    }
    int right = 0;
    std::vector<double> latencies;
    double cpu = 0, audio = 0;
    for (auto _ : state) {
        right = 0;
        latencies.clear();
        cpu = audio = 0;
        for (const auto& [note, x] : tones) {
            MicAnalyzer analyzer;
            analyzer.Begin(MicMode::Tone);
            const double before = ThreadCpuSeconds();
            const std::vector<MicDetection> found = Analyze(analyzer, x);
            cpu += ThreadCpuSeconds() - before;
            audio += static_cast<double>(x.size()) / sig::kRate;
            if (!found.empty() && found.front().note == note) {
                ++right;
                latencies.push_back(found.front().streamMs - kSilenceMs);
            }
        }
    }
    std::sort(latencies.begin(), latencies.end());
    state.counters["pitch_accuracy_pct"] = 100.0 * right / static_cast<double>(tones.size());
    state.counters["pitch_latency_median_ms"] = latencies.empty() ? 0 : latencies[latencies.size() / 2];
    state.counters["detector_cpu_pct"] = 100.0 * cpu / audio;
    state.counters["notes"] = static_cast<double>(tones.size());
}

void BM_ClapDetection(benchmark::State& state) {
    std::mt19937 random(17);
    std::vector<double> claps;
    for (double t = 300; claps.size() < 60;
         t += 150 + static_cast<double>(random() % 450) + (random() % 100) / 100.0) {
        claps.push_back(t);
    }
    std::vector<float> x = sig::Claps(claps, claps.back() + 500, 23);
    sig::AddNoise(x, kSnrDb, 24);
    double mean = 0, worst = 0, cpu = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        MicAnalyzer analyzer;
        analyzer.Begin(MicMode::Rhythm);
        const double before = ThreadCpuSeconds();
        const std::vector<MicDetection> detected = Analyze(analyzer, x);
        cpu = ThreadCpuSeconds() - before;
        found = detected.size();
        double sum = 0;
        worst = 0;
        for (const MicDetection& d : detected) {
            // Each detection against the nearest clap.
            double nearest = 1e9;
            for (double c : claps) nearest = std::min(nearest, std::fabs(d.streamMs - c));
            sum += nearest;
            worst = std::max(worst, nearest);
        }
        mean = detected.empty() ? 0 : sum / static_cast<double>(detected.size());
    }
    state.counters["clap_error_mean_ms"] = mean;
    state.counters["clap_error_max_ms"] = worst;
    state.counters["claps_found"] = static_cast<double>(found);
    state.counters["claps"] = static_cast<double>(claps.size());
    state.counters["clap_detector_cpu_pct"] = 100.0 * cpu / (static_cast<double>(x.size()) / sig::kRate);
}

}  // namespace

BENCHMARK(BM_PitchDetection)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ClapDetection)->Iterations(1)->Unit(benchmark::kMillisecond);
