// Generated test signals for the microphone detector: tones, a piano from the built-in
// synthesizer, claps, and noise at a chosen signal-to-noise ratio.
#pragma once

#include "sound/BuiltinOutPort.h"
#include "sound/BuiltinSynth.h"
#include "sound/MidiMessage.h"
#include "sound/TSequencer.h"

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace kalvintor::sound::testsignals {

inline constexpr double kRate = 44100.0;

inline std::size_t Samples(double ms) {
    return static_cast<std::size_t>(ms * kRate / 1000.0);
}
inline double Hz(double midi) {
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

enum class Voice { Sine, Sawtooth };

// `silenceMs` of silence, then the tone for `toneMs`; the sawtooth carries ±vibratoCents at 5.5 Hz.
inline std::vector<float> Tone(Voice voice, int note, double silenceMs, double toneMs,
                               double vibratoCents = 0) {
    std::vector<float> x(Samples(silenceMs + toneMs), 0.0f);
    double phase = 0;
    for (std::size_t i = Samples(silenceMs); i < x.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double cents = vibratoCents * std::sin(2 * std::numbers::pi * 5.5 * t);
        phase += Hz(note + cents / 100.0) / kRate;
        phase -= std::floor(phase);
        const double v = voice == Voice::Sine ? std::sin(2 * std::numbers::pi * phase) : 2.0 * phase - 1.0;
        x[i] = static_cast<float>(0.5 * v);
    }
    return x;
}

// Silence up to `startMs`, then a sawtooth up to `lengthMs` whose pitch (a MIDI note, in
// fractions too) and level follow `pitchAt` and `levelAt` of the milliseconds since it began.
template <class Pitch, class Level>
std::vector<float> Sawtooth(double startMs, double lengthMs, Pitch pitchAt, Level levelAt) {
    std::vector<float> x(Samples(lengthMs), 0.0f);
    const std::size_t start = Samples(startMs);
    double phase = 0;
    for (std::size_t i = start; i < x.size(); ++i) {
        const double ms = static_cast<double>(i - start) * 1000.0 / kRate;
        phase += Hz(pitchAt(ms)) / kRate;
        phase -= std::floor(phase);
        x[i] = static_cast<float>(levelAt(ms) * (2.0 * phase - 1.0));
    }
    return x;
}

// The built-in synthesizer's piano (program 0), rendered offline.
inline std::vector<float> Piano(int note, double silenceMs, double toneMs) {
    BuiltinSynth::Created created = BuiltinSynth::Create(SynthOptions{false});
    BuiltinOutPort port(*created.synth);
    std::vector<float> left, right;
    port.RenderOffline(left, right, Samples(silenceMs));
    port.Send(NoteOnMessage(0, static_cast<std::uint8_t>(note), 100));
    port.RenderOffline(left, right, Samples(toneMs));
    return left;
}

// White noise added so that the signal's power stands `snrDb` above it (over the sounding part).
inline void AddNoise(std::vector<float>& x, double snrDb, unsigned seed) {
    double power = 0;
    std::size_t sounding = 0;
    for (float v : x) {
        if (v != 0.0f) {
            power += v * v;
            ++sounding;
        }
    }
    if (sounding == 0) return;
    const double noiseRms = std::sqrt(power / sounding / std::pow(10.0, snrDb / 10.0));
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0.0, noiseRms);
    for (float& v : x) v += static_cast<float>(noise(random));
}

// Claps (decaying noise bursts) at the given times.
inline std::vector<float> Claps(const std::vector<double>& atMs, double lengthMs, unsigned seed) {
    std::vector<float> x(Samples(lengthMs), 0.0f);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (double at : atMs) {
        const std::size_t start = Samples(at);
        for (std::size_t i = start; i < x.size() && i < start + Samples(120); ++i) {
            const double t = static_cast<double>(i - start) / kRate;
            x[i] += static_cast<float>(0.7 * std::exp(-t / 0.015)) * noise(random);
        }
    }
    return x;
}

}  // namespace kalvintor::sound::testsignals
