// The microphone detector on recorded sounds: General MIDI voices and instruments note after note
// in one stream, clean, in reverb, in room noise and under mains hum; hand claps among the
// program's own metronome clicks. How often the first note reported is the one sung, how soon,
// how many false notes room sound gives, how exactly claps are timed, and what it costs, all on the
// path the program takes from the microphone's buffers to the messages it receives.
#include "MicPath.h"
#include "RecordedMaterial.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace kalvintor::sound;
namespace mat = kalvintor::sound::material;
using kalvintor::sound::bench::Heard;
using kalvintor::sound::bench::MicPath;

namespace {

constexpr int kLowest = 40;
constexpr int kHighest = 84;
constexpr double kClickLagMs = 35.0;  // from the program sending a click to the microphone hearing it

struct Condition {
    const char* name;
    mat::Room room;
    enum class Sound { None, Pink, White, Hum } sound;
    double dbBelow;
};
constexpr Condition kConditions[] = {
    {"clean", mat::Room::Dry, Condition::Sound::None, 0},
    {"reverb", mat::Room::Reverb, Condition::Sound::None, 0},
    {"noise30", mat::Room::Dry, Condition::Sound::Pink, 30},
    {"noise15", mat::Room::Dry, Condition::Sound::Pink, 15},
    {"white15", mat::Room::Dry, Condition::Sound::White, 15},
    {"hum", mat::Room::Dry, Condition::Sound::Hum, 20},
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

double Pct(int part, int whole) {
    return whole > 0 ? 100.0 * part / whole : 0.0;
}

void BM_RecordedPitch(benchmark::State& state) {
    if (!mat::Renderer::SoundFontPresent()) {
        state.SkipWithError("the FluidR3 General MIDI SoundFont is not installed (fluid-soundfont-gm)");
        return;
    }
    mat::Renderer renderer;
    const mat::Layout layout;
    // Every instrument's stream, dry and in reverb.
    std::vector<mat::NoteStream> dry, wet;
    unsigned seed = 1;
    for (const mat::Instrument& instrument : mat::kInstruments) {
        const std::vector<int> notes = mat::ShuffledNotes(kLowest, kHighest, seed++);
        dry.push_back(renderer.Notes(instrument.program, notes, mat::Room::Dry, layout));
        wet.push_back(renderer.Notes(instrument.program, notes, mat::Room::Reverb, layout));
    }
    for (auto _ : state) {
        mat::NoteScore all;
        double cpu = 0, audio = 0;
        for (const Condition& c : kConditions) {
            mat::NoteScore score;
            for (std::size_t i = 0; i < dry.size(); ++i) {
                mat::NoteStream stream = c.room == mat::Room::Dry ? dry[i] : wet[i];
                const double rms = mat::HeldRms(stream, layout) * mat::DbToRatio(-c.dbBelow);
                const auto noiseSeed = static_cast<unsigned>(100 + i);
                if (c.sound == Condition::Sound::Pink) mat::AddPinkNoise(stream.samples, rms, noiseSeed);
                if (c.sound == Condition::Sound::White) mat::AddWhiteNoise(stream.samples, rms, noiseSeed);
                if (c.sound == Condition::Sound::Hum) mat::AddHum(stream.samples, rms, 50.0);
                MicPath path(1, kLowest - 2, kHighest + 2);  // the range as the exercise tells it
                std::vector<mat::Reported> reported;
                for (const Heard& h : path.Run(stream.samples, 0, cpu)) {
                    // A note's end comes as note 0.
                    if (h.message == kMicNoteMessage && h.wParam > 0)
                        reported.push_back({static_cast<int>(h.wParam), h.atMs});
                }
                audio += static_cast<double>(stream.samples.size()) / mat::kRate;
                const mat::NoteScore one = mat::ScoreNotes(stream, reported, layout);
                // Per instrument, with the median and 90th percentile of its right notes' latency.
                if (std::getenv("KALVINTOR_BENCH_DETAIL") != nullptr) {
                    std::printf(
                        "%-8s %-13s right %2d/%d octave %d semitone %d missed %d extra %d silence %d latency "
                        "%3.0f/%3.0f ms\n",
                        c.name, mat::kInstruments[i].name, one.right, one.notes, one.octave, one.semitone,
                        one.missed, one.extra, one.falseInSilence, Percentile(one.latenciesMs, 0.5),
                        Percentile(one.latenciesMs, 0.9));
                }
                score += one;
            }
            state.counters[std::string("pitch_right_") + c.name + "_pct"] = Pct(score.right, score.notes);
            if (std::string(c.name) == "noise30") {
                state.counters["false_notes_per_min_noise30"] =
                    score.silenceMinutes > 0 ? score.falseInSilence / score.silenceMinutes : 0;
            }
            if (std::string(c.name) == "noise15") {
                state.counters["extra_notes_per_note_noise15"] =
                    score.notes > 0 ? static_cast<double>(score.extra) / score.notes : 0;
            }
            all += score;
        }
        state.counters["pitch_octave_error_pct"] = Pct(all.octave, all.notes);
        state.counters["pitch_semitone_error_pct"] = Pct(all.semitone, all.notes);
        state.counters["pitch_missed_pct"] = Pct(all.missed, all.notes);
        state.counters["pitch_onset_latency_median_ms"] = Percentile(all.latenciesMs, 0.5);
        state.counters["pitch_onset_latency_p90_ms"] = Percentile(all.latenciesMs, 0.9);
        state.counters["detector_cpu_pct"] = audio > 0 ? 100.0 * cpu / audio : 0;
        state.counters["notes"] = all.notes;
    }
}

void BM_RecordedClaps(benchmark::State& state) {
    if (!mat::Renderer::SoundFontPresent()) {
        state.SkipWithError("the FluidR3 General MIDI SoundFont is not installed (fluid-soundfont-gm)");
        return;
    }
    // 120 beats of 500 ms: 60 hand claps, the program's metronome clicks on the other beats, and
    // claps between beats too; room noise 30 dB below the claps.
    std::mt19937 random(29);
    std::vector<bool> clapBeat(120, false);
    std::fill(clapBeat.begin(), clapBeat.begin() + 45, true);
    std::shuffle(clapBeat.begin(), clapBeat.end(), random);
    std::vector<double> claps, clicks;
    for (std::size_t b = 0; b < clapBeat.size(); ++b) {
        const double at = 1000.0 + 500.0 * static_cast<double>(b);
        (clapBeat[b] ? claps : clicks).push_back(at);
        if (!clapBeat[b] && claps.size() + (clapBeat.size() - b) / 2 < 60 && b % 3 == 0)
            claps.push_back(at + 250);
    }
    while (claps.size() < 60)
        claps.push_back(1000.0 + 500.0 * 120 + 250.0 * static_cast<double>(claps.size()));
    std::sort(claps.begin(), claps.end());
    const double length = claps.back() + 1500;
    mat::Renderer renderer;
    mat::Renderer::Claps stream = renderer.ClapsAndClicks(claps, clicks, length);
    mat::AddPinkNoise(stream.samples,
                      mat::Rms(stream.samples, 0, stream.samples.size()) * mat::DbToRatio(-30), 5);

    for (auto _ : state) {
        MicPath path(4, 1, 0);
        // The sequencer tells the microphone when it sends each click.
        for (std::size_t k = 0; k < clicks.size(); ++k) {
            const double sent = clicks[k] - kClickLagMs;
            path.microphone().ProgramSound({OwnSound::Kind::Click, mat::kClickKeys[k % 3], sent, sent});
        }
        double cpu = 0;
        std::vector<double> errors;
        int falseAlarms = 0;
        for (const Heard& h : path.Run(stream.samples, 0, cpu)) {
            if (h.message != kMicEventMessage || h.wParam < kMicClapParam) continue;
            // The clap's time as the program gets it: whole milliseconds on its clock.
            double nearest = 1e9;
            for (double c : claps) {
                const double e = static_cast<double>(h.lParam) - (c + stream.clapAudibleMs);
                if (std::fabs(e) < std::fabs(nearest)) nearest = e;
            }
            if (std::fabs(nearest) > 30) {
                ++falseAlarms;
            } else {
                errors.push_back(nearest);
            }
        }
        double mean = 0;
        for (double e : errors) mean += e;
        mean = errors.empty() ? 0 : mean / static_cast<double>(errors.size());
        double worst = 0;
        for (double e : errors) worst = std::max(worst, std::fabs(e - mean));
        state.counters["clap_false_alarms_with_clicks"] = falseAlarms;
        state.counters["claps_found"] = static_cast<double>(errors.size());
        state.counters["claps"] = static_cast<double>(claps.size());
        state.counters["clicks"] = static_cast<double>(clicks.size());
        state.counters["clap_offset_ms"] = mean;
        state.counters["clap_error_max_ms"] = worst;
        state.counters["clap_detector_cpu_pct"] =
            100.0 * cpu / (static_cast<double>(stream.samples.size()) / mat::kRate);
    }
}

}  // namespace

BENCHMARK(BM_RecordedPitch)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_RecordedClaps)->Iterations(1)->Unit(benchmark::kMillisecond);
