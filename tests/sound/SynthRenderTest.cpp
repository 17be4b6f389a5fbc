// The built-in synthesizer rendered offline: what a queued chord and a queued rhythm sound like.
#include "AudioAnalysis.h"

#include "settings/SettingRecord.h"
#include "sound/BuiltinOutPort.h"
#include "sound/MidiMessage.h"
#include "sound/SoundSystem.h"
#include "sound/TMidiOut.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kalvintor;
using namespace kalvintor::sound;
namespace an = kalvintor::sound::analysis;

namespace {

// TMidiOut on the built-in synthesizer, rendered offline.
struct OfflineRig {
    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    SoundSystem system{SoundSystemOptions{SynthOptions{false}, false}};
    TSequencer sequencer;
    TMidiOut midiOut{system, sequencer, settings, language, [](const std::string&) {}};
    std::vector<float> left, right;

    OfflineRig() {
        std::string name;
        EXPECT_TRUE(midiOut.SelectDeviceByName(name));
        EXPECT_EQ(name, kBuiltinSynthName);
    }
    void Render(double ms) {
        auto* port = static_cast<BuiltinOutPort*>(midiOut.Port());
        port->RenderOffline(left, right, static_cast<std::size_t>(ms * kSynthSampleRate / 1000.0));
    }
};

}  // namespace

TEST(SynthRender, QueuedCMajorChordSoundsItsThreePitchClassesOnly) {
    OfflineRig rig;
    ASSERT_EQ(rig.system.SynthStatus(), SynthError::None);
    const std::vector<QueuedNote> chord = {{60, 3, 2}, {64, 3, 2}, {67, 3, 2}};
    rig.midiOut.QueueNotes(chord, 3, NoteMode::Together, false);
    rig.midiOut.Play();
    rig.Render(1500);

    // From 100 ms on, half a second: the steady part of the chord.
    const auto from = static_cast<std::size_t>(0.1 * kSynthSampleRate);
    const auto count = static_cast<std::size_t>(0.5 * kSynthSampleRate);
    std::vector<double> energy(128);
    for (int note = 48; note <= 79; ++note) {
        energy[note] = an::EnergyAt(rig.left, from, count, an::MidiFrequency(note), kSynthSampleRate);
    }
    double weakestChordTone = 1e300, strongestOther = 0;
    for (int note = 48; note <= 79; ++note) {
        const int pc = note % 12;
        const bool inChord = pc == 0 || pc == 4 || pc == 7;
        if (note == 60 || note == 64 || note == 67)
            weakestChordTone = std::min(weakestChordTone, energy[note]);
        if (!inChord) strongestOther = std::max(strongestOther, energy[note]);
    }
    EXPECT_GT(weakestChordTone, 30 * strongestOther)
        << "every chord tone stands 15 dB above any other pitch class";

    // After the note-off at 1344 ticks (1344 ms at tempo 90) the sound dies away.
    const auto tail = static_cast<std::size_t>(1.45 * kSynthSampleRate);
    EXPECT_LT(an::EnergyAt(rig.left, tail, 2048, an::MidiFrequency(60), kSynthSampleRate), energy[60] / 100);
}

// How long the side stick takes from its start to the level FindOnsets looks for.
static double SideStickAttackMs() {
    OfflineRig rig;
    rig.sequencer.SeqAddEvent(1, static_cast<std::int32_t>(NoteOnMessage(9, 37, 110)), SeqEventKind::Message);
    rig.midiOut.Play();
    rig.Render(300);
    return an::FindOnsets(rig.left, {0.0}, kSynthSampleRate)[0];
}

TEST(SynthRender, RhythmOnsetsFallWithin2MsOfTheirTimes) {
    const double attack = SideStickAttackMs();
    EXPECT_LT(attack, 3.0);
    for (int tempo : {90, 150}) {
        OfflineRig rig;
        rig.sequencer.SeqSetTempo(tempo);
        // Side stick on channel 10: a quarter, two eighths, a dotted quarter, an eighth, a half.
        const std::vector<std::int32_t> lengths = {672, 336, 336, 1008, 336, 1344};
        std::vector<double> expected;
        std::int64_t tick = 0;
        for (std::int32_t length : lengths) {
            expected.push_back(TicksToMs(tick, tempo));
            rig.sequencer.SeqAddEvent(1, static_cast<std::int32_t>(NoteOnMessage(9, 37, 110)),
                                      SeqEventKind::Message);
            rig.sequencer.SeqAddEvent(1, 60, SeqEventKind::Delay);
            rig.sequencer.SeqAddEvent(1, static_cast<std::int32_t>(NoteOffMessage(9, 37)),
                                      SeqEventKind::Message);
            rig.sequencer.SeqAddEvent(1, length - 60, SeqEventKind::Delay);
            tick += length;
        }
        rig.Render(50);  // playback starts a little after the clock's zero
        rig.midiOut.Play();
        rig.Render(TicksToMs(tick, tempo) + 200);
        std::vector<double> shifted;
        for (double t : expected) shifted.push_back(t + 50.0 + attack);
        const std::vector<double> onsets = an::FindOnsets(rig.left, shifted, kSynthSampleRate);
        for (std::size_t i = 0; i < onsets.size(); ++i) {
            EXPECT_NEAR(onsets[i], shifted[i], 2.0) << "tempo " << tempo << " note " << i;
        }
    }
}

TEST(SynthRender, AnOutputMonitorHearsEveryRenderedFrameAsRendered) {
    struct Keep final : OutputMonitor {
        void Rendered(const float* left, const float*, int frames) override {
            heard.insert(heard.end(), left, left + frames);
        }
        std::vector<float> heard;
    } keep;
    keep.heard.reserve(8192);
    SynthOptions options{false};
    options.monitor = &keep;
    BuiltinSynth::Created created = BuiltinSynth::Create(options);
    ASSERT_TRUE(created.synth);
    BuiltinOutPort port(*created.synth);
    port.Send(NoteOnMessage(0, 60, 100));
    std::vector<float> left, right;
    port.RenderOffline(left, right, 4000);  // not a whole number of blocks
    ASSERT_EQ(keep.heard.size(), left.size());
    EXPECT_EQ(keep.heard, left);
    EXPECT_GT(*std::max_element(keep.heard.begin(), keep.heard.end()), 0.01f) << "the note sounds";
}
