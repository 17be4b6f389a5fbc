// The microphone detector on generated signals: how many sung notes it gets right and how soon,
// how exactly it times claps, and what it costs, on the path the program takes from the
// microphone's buffers to the messages it receives.
#include "MicPath.h"
#include "Signals.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

using namespace kalvintor::sound;
namespace sig = kalvintor::sound::testsignals;
using kalvintor::sound::bench::Heard;
using kalvintor::sound::bench::MicPath;

namespace {

constexpr double kSilenceMs = 300;
constexpr double kToneMs = 600;
constexpr double kSnrDb = 20;

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
            MicPath path(1, 1, 0);
            const std::vector<Heard> heard = path.Run(x, 0, cpu);
            audio += static_cast<double>(x.size()) / sig::kRate;
            if (!heard.empty() && heard.front().message == kMicNoteMessage &&
                static_cast<int>(heard.front().wParam) == note) {
                ++right;
                latencies.push_back(heard.front().atMs - kSilenceMs);
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
        MicPath path(4, 1, 0);
        cpu = 0;
        found = 0;
        double sum = 0;
        worst = 0;
        for (const Heard& h : path.Run(x, 0, cpu)) {
            if (h.message != kMicEventMessage || h.wParam < kMicClapParam) continue;
            // Each clap as the program gets it (whole milliseconds) against the nearest one made.
            ++found;
            double nearest = 1e9;
            for (double c : claps) nearest = std::min(nearest, std::fabs(static_cast<double>(h.lParam) - c));
            sum += nearest;
            worst = std::max(worst, nearest);
        }
        mean = found == 0 ? 0 : sum / static_cast<double>(found);
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
