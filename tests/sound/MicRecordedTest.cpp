// The microphone detector on recorded sounds: notes following each other in one stream with their
// tails, reverb, room noise and hum, and the program's own notes and clicks heard by the microphone.
#include "RecordedMaterial.h"

#include "sound/MicAnalyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

using namespace kalvintor::sound;
namespace mat = kalvintor::sound::material;

namespace {

constexpr int kNotesPerStream = 8;
const mat::Layout kLayout{800, 500, 700, 1500};

std::vector<MicDetection> Analyze(MicAnalyzer& analyzer, const std::vector<float>& x) {
    std::vector<MicDetection> out;
    for (std::size_t i = 0; i < x.size(); i += 441) {
        analyzer.Feed(x.data() + i, std::min<std::size_t>(441, x.size() - i),
                      static_cast<double>(i) * 1000.0 / mat::kRate, out);
    }
    return out;
}

std::vector<mat::Reported> Notes(const std::vector<MicDetection>& found) {
    std::vector<mat::Reported> notes;
    for (const MicDetection& d : found) {
        if (d.kind == MicDetection::Kind::Note) notes.push_back({d.note, d.streamMs});
    }
    return notes;
}

// A General MIDI program playing `before`, then `note`.
struct NotePair {
    int program;
    int before;
    int note;
};

// The first note reported once the stream's last note is audible, 0 when none is.
int FirstNoteOfTheLast(const mat::NoteStream& stream) {
    MicAnalyzer analyzer;
    analyzer.Begin(MicMode::Tone);
    const std::vector<mat::Reported> heard = Notes(Analyze(analyzer, stream.samples));
    const double from = static_cast<double>(stream.notes.back().audible) * 1000.0 / mat::kRate;
    const auto first =
        std::find_if(heard.begin(), heard.end(), [&](const mat::Reported& r) { return r.streamMs >= from; });
    return first == heard.end() ? 0 : first->note;
}

// The material is rendered once per test program, and only what its tests use: a voice and a
// plucked string, dry and in reverb; the shuffled notes put big and small steps after one another.
constexpr int kVoice = 53;   // voice oohs
constexpr int kString = 24;  // nylon guitar

class MicRecorded : public ::testing::Test {
protected:
    static void TearDownTestSuite() {
        renderer_.reset();
        streams_.clear();
    }
    void SetUp() override {
        if (!mat::Renderer::SoundFontPresent())
            GTEST_SKIP() << "the FluidR3 SoundFont (fluid-soundfont-gm) is not installed";
    }
    static mat::Renderer& Renderer() {
        if (!renderer_) renderer_ = std::make_unique<mat::Renderer>();
        return *renderer_;
    }
    static const mat::NoteStream& Stream(int program, mat::Room room) {
        const int key = program * 2 + (room == mat::Room::Reverb ? 1 : 0);
        auto it = streams_.find(key);
        if (it == streams_.end()) {
            std::vector<int> notes = mat::ShuffledNotes(40, 84, static_cast<unsigned>(program));
            notes.resize(kNotesPerStream);
            it = streams_.emplace(key, Renderer().Notes(program, notes, room, kLayout)).first;
        }
        return it->second;
    }
    static mat::NoteStream Dry(const NotePair& pair) {
        return Renderer().Notes(pair.program, {pair.before, pair.note}, mat::Room::Dry, kLayout);
    }
    static mat::NoteScore Score(const mat::NoteStream& stream) {
        MicAnalyzer analyzer;
        analyzer.Begin(MicMode::Tone);
        return mat::ScoreNotes(stream, Notes(Analyze(analyzer, stream.samples)), kLayout);
    }
    static std::unique_ptr<mat::Renderer> renderer_;
    static std::map<int, mat::NoteStream> streams_;
};
std::unique_ptr<mat::Renderer> MicRecorded::renderer_;
std::map<int, mat::NoteStream> MicRecorded::streams_;

}  // namespace

TEST_F(MicRecorded, ANewNoteIsNotMistakenForThePreviousOnesTail) {
    // The voice dry and in reverb, the plucked string in reverb.
    for (const mat::NoteStream* stream : {&Stream(kVoice, mat::Room::Dry), &Stream(kVoice, mat::Room::Reverb),
                                          &Stream(kString, mat::Room::Reverb)}) {
        MicAnalyzer analyzer;
        analyzer.Begin(MicMode::Tone);
        const std::vector<mat::Reported> reported = Notes(Analyze(analyzer, stream->samples));
        const mat::NoteScore score = mat::ScoreNotes(*stream, reported, kLayout);
        EXPECT_GE(score.right, kNotesPerStream / 2);
        EXPECT_EQ(score.falseInSilence, 0);
        // The first report after an onset is the previous note again at most once.
        int previous = 0;
        for (std::size_t k = 1; k < stream->notes.size(); ++k) {
            const double from = static_cast<double>(stream->notes[k].audible) * 1000.0 / mat::kRate;
            const auto first = std::find_if(reported.begin(), reported.end(),
                                            [&](const mat::Reported& r) { return r.streamMs >= from; });
            if (first != reported.end() && first->note == stream->notes[k - 1].note) ++previous;
        }
        EXPECT_LE(previous, 1);
    }
}

TEST_F(MicRecorded, RoomNoiseAndMainsHumGiveNoNotesOfTheirOwn) {
    // The voice in pink noise 30 dB below it, the plucked string under 50 and 60 Hz hum.
    mat::NoteStream noisy = Stream(kVoice, mat::Room::Dry);
    mat::AddPinkNoise(noisy.samples, mat::HeldRms(noisy, kLayout) * mat::DbToRatio(-30), 9);
    mat::NoteStream hum = Stream(kString, mat::Room::Dry);
    mat::AddHum(hum.samples, mat::HeldRms(hum, kLayout) * mat::DbToRatio(-20), 50.0);
    mat::AddHum(hum.samples, mat::HeldRms(hum, kLayout) * mat::DbToRatio(-26), 60.0);
    for (const mat::NoteStream* stream : {&noisy, &hum}) {
        const mat::NoteScore score = Score(*stream);
        EXPECT_GE(score.right, kNotesPerStream / 2);
        EXPECT_EQ(score.falseInSilence, 0);
        EXPECT_LE(score.extra, kNotesPerStream);
    }
}

TEST_F(MicRecorded, ANoteWhoseWaveRepeatsOnlyOverSeveralPeriodsIsHeardAtItsOwnPitch) {
    // Sounds whose waveform matches itself better after two, three or four periods than after one:
    // the period alone takes them an octave, a twelfth or two octaves low.
    for (const NotePair c : {NotePair{68, 84, 81}, NotePair{41, 68, 78}, NotePair{1, 44, 64}}) {
        const mat::NoteStream stream = Dry(c);
        EXPECT_EQ(FirstNoteOfTheLast(stream), c.note) << "program " << c.program;
    }
}

TEST_F(MicRecorded, ANoteAfterARingingOneIsHeardAsItselfTheFirstTime) {
    // Notes the estimate alone takes for the previous note's tail, an octave low or a semitone
    // off: a bassoon leaping up from a low note, an electric piano and a steel-string guitar in
    // reverb, a cello leaping from a note that still rings, and one whose estimate strays only
    // after its attack.
    struct Case {
        int program;
        int before;
        int note;
        mat::Room room;
    };
    for (const Case c : {Case{70, 44, 82, mat::Room::Dry}, Case{4, 69, 62, mat::Room::Reverb},
                         Case{25, 56, 80, mat::Room::Reverb}, Case{42, 58, 69, mat::Room::Dry},
                         Case{42, 64, 74, mat::Room::Dry}}) {
        const mat::NoteStream stream = Renderer().Notes(c.program, {c.before, c.note}, c.room, kLayout);
        EXPECT_EQ(FirstNoteOfTheLast(stream), c.note) << "program " << c.program << " after " << c.before;
    }
}

TEST_F(MicRecorded, ALowNoteWhoseEvenHarmonicsOutweighTheOddIsNotHeardAnOctaveHigh) {
    // Low notes whose odd harmonics are weaker than the even ones: what rises at their onset
    // weighs most an octave up, and the period may agree with it for a moment. A trombone, a
    // string section and a horn.
    for (const NotePair c : {NotePair{57, 56, 44}, NotePair{48, 60, 55}, NotePair{60, 59, 54}}) {
        const mat::NoteStream stream = Dry(c);
        EXPECT_EQ(FirstNoteOfTheLast(stream), c.note) << "program " << c.program << " after " << c.before;
    }
}

TEST_F(MicRecorded, ANoteIsHeardFromWhatRoseWhileTheWindowsCannotTellIt) {
    // A low note needs the longest window, and the last note's tail, louder for a while, holds the
    // windows on itself or on a mix of both that is neither note; what rose since the onset is
    // the new note. A bassoon leaping down twice and a string section down to its lowest.
    for (const NotePair c : {NotePair{70, 76, 50}, NotePair{70, 50, 46}, NotePair{48, 72, 40}}) {
        const mat::NoteStream stream = Dry(c);
        const mat::NoteScore score = Score(stream);
        EXPECT_EQ(score.right, 2) << "program " << c.program << " after " << c.before;
        for (double ms : score.latenciesMs) EXPECT_LE(ms, 100.0) << "program " << c.program;
    }
}

TEST_F(MicRecorded, ANoteThatGrowsInAfterTheLastOnesSwellIsHeardFromWhatRose) {
    // A synthesized voice swells early in its first note and the last onset comes there; the
    // second note grows in as the first fades, with no level rise of its own, and the windows hear
    // neither note through the mix for a while. What rose since that onset is the new note.
    for (const NotePair c : {NotePair{54, 45, 68}, NotePair{54, 42, 60}}) {
        const mat::NoteStream stream = Dry(c);
        const mat::NoteScore score = Score(stream);
        EXPECT_EQ(score.right, 2) << "after " << c.before;
        for (double ms : score.latenciesMs) EXPECT_LE(ms, 100.0) << "after " << c.before;
    }
}

TEST_F(MicRecorded, WhatRoseConfirmsANoteOnlyWhenItIsOneHarmonicSeries) {
    // A synthesized voice going 60, 70, 74 in room noise 15 dB below it: as the 74 grows in over
    // the 70, the windows and the rise both read the mixture as 58, the octave below the 70, with
    // as much risen halfway between its harmonics as on them. That is no note to confirm.
    const std::vector<int> notes = {60, 70, 74};
    for (unsigned seed = 9; seed <= 12; ++seed) {
        mat::NoteStream stream = Renderer().Notes(54, notes, mat::Room::Dry, kLayout);
        mat::AddPinkNoise(stream.samples, mat::HeldRms(stream, kLayout) * mat::DbToRatio(-15), seed);
        EXPECT_EQ(FirstNoteOfTheLast(stream), 74) << "noise " << seed;
    }
}

TEST_F(MicRecorded, APianosNotesAreHeardWithoutWaitingForTheirPitchToSettle) {
    // A piano string's overtones stand sharp of true harmonics and pull its period between two
    // notes, while its lowest harmonics hold the note: each is heard as soon as those rise.
    const std::vector<int> notes = {60, 55, 61, 57, 59, 62};
    const mat::NoteStream stream = Renderer().Notes(0, notes, mat::Room::Dry, kLayout);
    const mat::NoteScore score = Score(stream);
    EXPECT_EQ(score.right, static_cast<int>(notes.size()));
    for (double ms : score.latenciesMs) EXPECT_LE(ms, 50.0);
}

TEST_F(MicRecorded, TheProgramsOwnNotesAreNotTheStudents) {
    // The program plays a piano melody the microphone hears at the level of a sung note.
    const std::vector<int> melody = {60, 64, 55, 72};
    const mat::NoteStream played = Renderer().Notes(0, melody, mat::Room::Dry, kLayout);
    const auto ms = [](std::size_t samples) { return static_cast<double>(samples) * 1000.0 / mat::kRate; };
    const auto tell = [&](MicAnalyzer& analyzer) {
        for (const mat::PlayedNote& n : played.notes) {
            analyzer.ProgramSound(
                {OwnSound::Kind::Note, n.note, ms(n.keyDown), ms(n.keyDown) + kLayout.holdMs});
        }
    };
    {
        MicAnalyzer analyzer;  // not told: every note is heard
        analyzer.Begin(MicMode::Tone);
        EXPECT_EQ(mat::ScoreNotes(played, Notes(Analyze(analyzer, played.samples)), kLayout).right,
                  static_cast<int>(melody.size()));
    }
    {
        MicAnalyzer analyzer;
        tell(analyzer);
        analyzer.Begin(MicMode::Tone);
        for (const mat::Reported& r : Notes(Analyze(analyzer, played.samples))) {
            ADD_FAILURE() << "the program's own " << r.note << " at " << r.streamMs << " ms";
        }
    }
    // A student singing the last note back clearly louder, while its tail still sounds.
    const mat::NoteStream sung = Renderer().Notes(kVoice, {72}, mat::Room::Dry, {0, 400, 700, 0});
    mat::NoteStream both = played;
    const std::size_t at = played.notes[3].keyDown + static_cast<std::size_t>(0.6 * mat::kRate);
    for (std::size_t i = 0; i < sung.samples.size() && at + i < both.samples.size(); ++i) {
        both.samples[at + i] += 10.0f * sung.samples[i];
    }
    MicAnalyzer analyzer;
    tell(analyzer);
    analyzer.Begin(MicMode::Tone);
    const std::vector<mat::Reported> heard = Notes(Analyze(analyzer, both.samples));
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard[0].note, 72);
    EXPECT_GE(heard[0].streamMs, ms(at));
    for (const mat::Reported& r : heard) EXPECT_EQ(r.note, 72) << "at " << r.streamMs << " ms";
}

TEST_F(MicRecorded, ClicksOfTheProgramsMetronomeAreNoClaps) {
    // Claps on some beats and between them, the metronome on the other beats; the program sends
    // each click 30 ms before the microphone hears it.
    std::vector<double> claps, clicks;
    for (int beat = 0; beat < 24; ++beat) {
        const double at = 800.0 + 500.0 * beat;
        (beat % 3 == 1 ? claps : clicks).push_back(at);
        if (beat % 4 == 2) claps.push_back(at + 250);
    }
    std::sort(claps.begin(), claps.end());
    mat::Renderer::Claps stream = Renderer().ClapsAndClicks(claps, clicks, 13500);
    mat::AddPinkNoise(stream.samples, 0.0005, 4);
    for (bool told : {false, true}) {
        MicAnalyzer analyzer;
        analyzer.Begin(MicMode::Rhythm);
        if (told) {
            for (std::size_t k = 0; k < clicks.size(); ++k) {
                analyzer.ProgramSound(
                    {OwnSound::Kind::Click, mat::kClickKeys[k % 3], clicks[k] - 30, clicks[k] - 30});
            }
        }
        const std::vector<MicDetection> found = Analyze(analyzer, stream.samples);
        std::size_t onClaps = 0;
        for (const MicDetection& d : found) {
            const bool clap = std::any_of(claps.begin(), claps.end(), [&](double c) {
                return std::fabs(d.streamMs - c - stream.clapAudibleMs) < 3.0;
            });
            onClaps += clap ? 1 : 0;
        }
        EXPECT_EQ(onClaps, claps.size()) << "told " << told;
        if (told) {
            EXPECT_EQ(found.size(), claps.size());
        } else {
            EXPECT_GT(found.size(), claps.size() + clicks.size() / 2) << "the clicks are loud enough to hear";
        }
    }
}
