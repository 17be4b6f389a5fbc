// Rendering and room sound of the recorded-sound material.
#include "RecordedMaterial.h"

#include "sound/BuiltinSynth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <filesystem>
#include <numbers>
#include <random>
#include <stdexcept>

namespace kalvintor::sound::material {

namespace {

constexpr int kDrumChannel = 9;
constexpr int kHandClap = 39;
constexpr int kReverbSend = 91;
constexpr int kVelocity = 100;
constexpr double kDryTailMs = 1500;
constexpr double kReverbTailMs = 2500;
constexpr int kBlock = 64;
// The held notes are brought to this rms: a voice at a desk microphone.
constexpr double kHeldLevelDb = -26.0;
// A note is audible once its own sound reaches this far below its peak.
constexpr double kAudibleBelowPeakDb = 30.0;

std::size_t At(double ms) {
    return static_cast<std::size_t>(ms * kRate / 1000.0);
}

std::size_t AudibleAt(const std::vector<float>& one) {
    float peak = 0;
    for (float v : one) peak = std::max(peak, std::fabs(v));
    const auto at = std::find_if(one.begin(), one.end(), [&](float v) {
        return std::fabs(v) >= peak * static_cast<float>(DbToRatio(-kAudibleBelowPeakDb));
    });
    return static_cast<std::size_t>(at - one.begin());
}

}  // namespace

struct Renderer::Synth {
    // Dry notes come from one synthesizer with the reverb off. The reverb's delay lines are
    // modulated and never settle back to where they started, so a note rendered into it depends
    // on everything rendered before: each note in reverb comes from a synthesizer of its own.
    FluidSettings drySettings = Settings(Room::Dry);
    FluidSettings wetSettings = Settings(Room::Reverb);
    FluidSynth dry = Load(drySettings.get());

    static FluidSettings Settings(Room room) {
        FluidSettings settings(new_fluid_settings());
        fluid_settings_t* s = settings.get();
        fluid_settings_setnum(s, "synth.sample-rate", kRate);
        fluid_settings_setint(s, "synth.chorus.active", 0);
        fluid_settings_setint(s, "synth.reverb.active", room == Room::Reverb ? 1 : 0);
        // A large, live room.
        fluid_settings_setnum(s, "synth.reverb.room-size", 0.85);
        fluid_settings_setnum(s, "synth.reverb.damp", 0.2);
        fluid_settings_setnum(s, "synth.reverb.width", 1.0);
        fluid_settings_setnum(s, "synth.reverb.level", 0.9);
        fluid_settings_setint(s, "synth.dynamic-sample-loading", 1);
        return settings;
    }
    static FluidSynth Load(fluid_settings_t* settings) {
        FluidSynth synth(new_fluid_synth(settings));
        if (!synth || fluid_synth_sfload(synth.get(), kGmSoundFont, 1) == FLUID_FAILED)
            throw std::runtime_error(std::string("cannot load ") + kGmSoundFont);
        return synth;
    }
};

bool Renderer::SoundFontPresent() {
    return std::filesystem::exists(kGmSoundFont);
}

Renderer::Renderer() {
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    synth_ = std::make_unique<Synth>();
}

Renderer::~Renderer() = default;

std::vector<float> Renderer::RenderNote(int channel, int program, int note, Room room, double holdMs) {
    const FluidSynth wet = room == Room::Reverb ? Synth::Load(synth_->wetSettings.get()) : nullptr;
    fluid_synth_t* s = wet ? wet.get() : synth_->dry.get();
    fluid_synth_system_reset(s);
    if (channel != kDrumChannel) fluid_synth_program_change(s, channel, program);
    fluid_synth_cc(s, channel, kReverbSend, room == Room::Reverb ? 127 : 0);
    const std::size_t total = At(holdMs + (room == Room::Reverb ? kReverbTailMs : kDryTailMs));
    std::vector<float> left(total + kBlock), right(total + kBlock);
    fluid_synth_noteon(s, channel, note, kVelocity);
    const std::size_t release = At(holdMs);
    for (std::size_t pos = 0; pos < total; pos += kBlock) {
        if (pos <= release && release < pos + kBlock) fluid_synth_noteoff(s, channel, note);
        fluid_synth_write_float(s, kBlock, left.data(), static_cast<int>(pos), 1, right.data(),
                                static_cast<int>(pos), 1);
    }
    std::vector<float> mono(total);
    for (std::size_t i = 0; i < total; ++i) mono[i] = 0.5f * (left[i] + right[i]);
    return mono;
}

NoteStream Renderer::Notes(int program, const std::vector<int>& notes, Room room, const Layout& layout) {
    NoteStream stream;
    const std::size_t first = At(layout.leadMs);
    const std::size_t step = At(layout.stepMs);
    stream.lastRelease = first + step * (notes.empty() ? 0 : notes.size() - 1) + At(layout.holdMs);
    stream.samples.assign(stream.lastRelease + At(kReverbTailMs + layout.trailMs), 0.0f);
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const std::vector<float> one = RenderNote(0, program, notes[k], room, layout.holdMs);
        const std::size_t keyDown = first + step * k;
        stream.notes.push_back({notes[k], keyDown, keyDown + AudibleAt(one)});
        for (std::size_t i = 0; i < one.size() && keyDown + i < stream.samples.size(); ++i) {
            stream.samples[keyDown + i] += one[i];
        }
    }
    const double held = HeldRms(stream, layout);
    if (held > 0) {
        const auto gain = static_cast<float>(DbToRatio(kHeldLevelDb) / held);
        for (float& v : stream.samples) v *= gain;
    }
    return stream;
}

Renderer::Claps Renderer::ClapsAndClicks(const std::vector<double>& clapsMs,
                                         const std::vector<double>& clicksMs, double lengthMs) {
    Claps result;
    std::vector<float>& x = result.samples;
    x.assign(At(lengthMs), 0.0f);
    const auto lay = [&](const std::vector<float>& one, double atMs) {
        const std::size_t at = At(atMs);
        for (std::size_t i = 0; i < one.size() && at + i < x.size(); ++i) x[at + i] += one[i];
    };
    const std::vector<float> clap = RenderNote(kDrumChannel, 0, kHandClap, Room::Dry, 100);
    for (double at : clapsMs) lay(clap, at);
    std::vector<std::vector<float>> clickSounds;
    for (int key : kClickKeys) clickSounds.push_back(RenderNote(kDrumChannel, 0, key, Room::Dry, 100));
    for (std::size_t k = 0; k < clicksMs.size(); ++k) lay(clickSounds[k % clickSounds.size()], clicksMs[k]);
    result.clapAudibleMs = static_cast<double>(AudibleAt(clap)) * 1000.0 / kRate;
    return result;
}

NoteScore& NoteScore::operator+=(const NoteScore& o) {
    notes += o.notes;
    right += o.right;
    octave += o.octave;
    semitone += o.semitone;
    missed += o.missed;
    extra += o.extra;
    falseInSilence += o.falseInSilence;
    silenceMinutes += o.silenceMinutes;
    latenciesMs.insert(latenciesMs.end(), o.latenciesMs.begin(), o.latenciesMs.end());
    return *this;
}

NoteScore ScoreNotes(const NoteStream& stream, const std::vector<Reported>& reported, const Layout& layout) {
    NoteScore score;
    const auto ms = [](std::size_t samples) { return static_cast<double>(samples) * 1000.0 / kRate; };
    const double quietFrom = ms(stream.lastRelease) + kQuietAfterReleaseMs;
    const double firstHeard = stream.notes.empty() ? quietFrom : ms(stream.notes.front().audible);
    for (std::size_t k = 0; k < stream.notes.size(); ++k) {
        const PlayedNote& n = stream.notes[k];
        const double from = ms(n.audible);
        const double to =
            k + 1 < stream.notes.size() ? ms(stream.notes[k + 1].audible) : ms(n.keyDown) + layout.stepMs;
        ++score.notes;
        bool first = true;
        for (const Reported& r : reported) {
            if (r.streamMs < from || r.streamMs >= to) continue;
            const int apart = std::abs(r.note - n.note);
            if (first) {
                first = false;
                if (apart == 0) {
                    ++score.right;
                    score.latenciesMs.push_back(r.streamMs - from);
                    continue;
                }
                if (apart % 12 == 0) ++score.octave;
                if (apart == 1) ++score.semitone;
            }
            if (apart != 0) ++score.extra;
        }
        if (first) ++score.missed;
    }
    for (const Reported& r : reported) {
        if (r.streamMs < firstHeard || r.streamMs >= quietFrom) ++score.falseInSilence;
    }
    const double total = ms(stream.samples.size());
    score.silenceMinutes = (firstHeard + std::max(0.0, total - quietFrom)) / 60000.0;
    return score;
}

std::vector<int> ShuffledNotes(int low, int high, unsigned seed) {
    std::vector<int> notes;
    for (int n = low; n <= high; ++n) notes.push_back(n);
    std::mt19937 random(seed);
    std::shuffle(notes.begin(), notes.end(), random);
    return notes;
}

double Rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    to = std::min(to, x.size());
    if (from >= to) return 0;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

double HeldRms(const NoteStream& stream, const Layout& layout) {
    double sum = 0;
    for (const PlayedNote& n : stream.notes) {
        const double r = Rms(stream.samples, n.keyDown, n.keyDown + At(layout.holdMs));
        sum += r * r;
    }
    return stream.notes.empty() ? 0 : std::sqrt(sum / static_cast<double>(stream.notes.size()));
}

void AddPinkNoise(std::vector<float>& x, double rms, unsigned seed) {
    // White noise through a -3 dB per octave filter (Paul Kellet's economy filter), scaled to `rms`.
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0.0, 1.0);
    std::vector<double> pink(x.size());
    double b0 = 0, b1 = 0, b2 = 0, sum = 0;
    for (double& p : pink) {
        const double w = white(random);
        b0 = 0.99765 * b0 + w * 0.0990460;
        b1 = 0.96300 * b1 + w * 0.2965164;
        b2 = 0.57000 * b2 + w * 1.0526913;
        p = b0 + b1 + b2 + w * 0.1848;
        sum += p * p;
    }
    const double scale = pink.empty() ? 0 : rms / std::sqrt(sum / static_cast<double>(pink.size()));
    for (std::size_t i = 0; i < x.size(); ++i) x[i] += static_cast<float>(pink[i] * scale);
}

void AddWhiteNoise(std::vector<float>& x, double rms, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<double> white(0.0, rms);
    for (float& v : x) v += static_cast<float>(white(random));
}

void AddHum(std::vector<float>& x, double rms, double hz) {
    // Fundamental, 2nd at −6 dB and 3rd at −10 dB; the amplitudes scaled so the sum has `rms`.
    const double a[] = {1.0, DbToRatio(-6), DbToRatio(-10)};
    const double power = (a[0] * a[0] + a[1] * a[1] + a[2] * a[2]) / 2;
    const double scale = rms / std::sqrt(power);
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        double v = 0;
        for (int h = 0; h < 3; ++h) v += a[h] * std::sin(2 * std::numbers::pi * hz * (h + 1) * t + h);
        x[i] += static_cast<float>(v * scale);
    }
}

}  // namespace kalvintor::sound::material
