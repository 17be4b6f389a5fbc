// The exact sequencer events of a pitch question: tonic, cadence, count-in, question and answer.
#include "PitchFixture.h"

#include "exercises/pitch/PlayQuestion.h"
#include "language/Language.h"
#include "sound/MidiMessage.h"
#include "sound/RecordingMidi.h"
#include "sound/TSequencer.h"

using namespace kalvintor;
using namespace kalvintor::pitch;
using namespace kalvintor::pitch::testing;
using sound::QueuedEvent;
using sound::SeqEventKind;

namespace {

// What a test expects of one event: its track, tick and either a message or a notification code.
struct Expected {
    int track;
    std::int64_t tick;
    std::uint32_t message;  // 0 for a notification
    std::uint16_t code;     // 0 for a message
};

std::uint32_t on(int key, int velocity = 110, int channel = 0) {
    return sound::NoteOnMessage(static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(key),
                                static_cast<std::uint8_t>(velocity));
}
std::uint32_t off(int key, int channel = 0) {
    return sound::NoteOffMessage(static_cast<std::uint8_t>(channel), static_cast<std::uint8_t>(key));
}
std::uint32_t allOff(int channel = 0) {
    return sound::ControllerMessage(static_cast<std::uint8_t>(channel), sound::kAllNotesOff);
}

class Playing : public ::testing::Test {
protected:
    Playing() : midiOut(system, sequencer, settings, language, [](const std::string&) {}) {
        std::string name;
        midiOut.SelectDeviceByName(name);
        midiOut.SetNotifyContext({false, 1});
    }

    // The question track's events (or the click track's), as message or code.
    std::vector<Expected> track(int number) const {
        std::vector<Expected> result;
        for (const QueuedEvent& e : sequencer.Queued()) {
            if (e.track != number || e.kind == SeqEventKind::Delay) continue;
            result.push_back({e.track, e.tick, e.kind == SeqEventKind::Message ? e.message : 0u,
                              e.kind == SeqEventKind::Notify ? e.code : std::uint16_t{0}});
        }
        return result;
    }

    static PitchExerciseState chordQuestion() {
        PitchExerciseState state;
        state.mode = ExerciseMode::Chord;
        state.notes = {QuestionNote{60}, QuestionNote{64}, QuestionNote{67}};
        state.options.playTonic = true;
        state.style = PlayStyle::Together;
        return state;
    }

    settings::Settings settings;
    language::Language language;
    sound::RecordingMidiSystem system;
    sound::TSequencer sequencer;
    sound::TMidiOut midiOut;
};

bool operator==(const Expected& a, const Expected& b) {
    return a.track == b.track && a.tick == b.tick && a.message == b.message && a.code == b.code;
}
void PrintTo(const Expected& e, std::ostream* os) {
    *os << "{track " << e.track << " tick " << e.tick << " message " << std::hex << e.message << std::dec
        << " code " << e.code << "}";
}

}  // namespace

TEST_F(Playing, BaseTonesThenTheChord) {
    auto state = chordQuestion();
    const auto outcome = PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, false);
    EXPECT_EQ(outcome.shownTonic, 60);
    EXPECT_EQ(state.tonicPitch, 60);
    const std::vector<Expected> expected{
        {1, 0, on(60), 0},     {1, 1008, 0, 51},      {1, 1008, on(72), 0},  {1, 2016, allOff(), 0},
        {1, 2016, 0, 52},      {1, 3360, on(60), 0},  {1, 3360, on(64), 0},  {1, 3360, on(67), 0},
        {1, 4704, off(60), 0}, {1, 4704, off(64), 0}, {1, 4704, off(67), 0}, {1, 4704, 0, 55},
    };
    EXPECT_EQ(track(1), expected);
    EXPECT_TRUE(track(2).empty());
    ASSERT_EQ(system.Output()->Starts().size(), 1u);
}

TEST_F(Playing, ACadenceInMinorWithTheFirstToneShown) {
    auto state = chordQuestion();
    state.options.tonicStyle = TonicStyle::Cadence;
    state.options.showFirstTone = true;
    state.key = {-3, true, -3};  // C minor: the tonic is C
    PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, false);
    const std::vector<Expected> expected{
        {1, 0, on(60), 0},      {1, 0, on(63), 0},      {1, 0, on(67), 0},      {1, 0, on(72), 0},
        {1, 1344, allOff(), 0}, {1, 1344, on(53), 0},   {1, 1344, on(65), 0},   {1, 1344, on(68), 0},
        {1, 1344, on(72), 0},   {1, 2016, allOff(), 0}, {1, 2016, on(55), 0},   {1, 2016, on(62), 0},
        {1, 2016, on(65), 0},   {1, 2016, on(71), 0},   {1, 2688, allOff(), 0}, {1, 2688, on(60), 0},
        {1, 2688, on(63), 0},   {1, 2688, on(67), 0},   {1, 2688, on(72), 0},   {1, 4032, allOff(), 0},
        {1, 5376, 0, 53},       {1, 5376, on(60), 0},   {1, 5376, on(64), 0},   {1, 5376, on(67), 0},
        {1, 6720, off(60), 0},  {1, 6720, off(64), 0},  {1, 6720, off(67), 0},  {1, 6720, 0, 55},
    };
    EXPECT_EQ(track(1), expected);
}

TEST_F(Playing, RepeatsAnswersAndTheTonicAlone) {
    auto state = chordQuestion();
    state.answer.notes = {QuestionNote{62}};
    state.style = PlayStyle::UpHeld;

    PlayQuestion(state, PlayKind::Repeat, midiOut, settings, false);  // no tonic on a repeat
    EXPECT_EQ(track(1).front(), (Expected{1, 0, on(60), 0}));
    EXPECT_EQ(track(1)[1], (Expected{1, 500, on(64), 0}));

    PlayQuestion(state, PlayKind::Answer, midiOut, settings, false);
    const std::vector<Expected> answer{{1, 0, on(62), 0}, {1, 1000, off(62), 0}, {1, 1000, 0, 55}};
    EXPECT_EQ(track(1), answer);

    state.options.playTonic = false;
    PlayQuestion(state, PlayKind::TonicOnly, midiOut, settings, false);
    const auto tonic = track(1);
    ASSERT_EQ(tonic.size(), 6u);
    EXPECT_EQ(tonic.back(), (Expected{1, 3360, 0, 55}));
}

TEST_F(Playing, AUnisonTogetherSoundsOnceAndTheGuitarPlaysAnOctaveDown) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Interval;
    state.notes = {QuestionNote{64}, QuestionNote{64}};
    state.options.playTonic = true;
    PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, true);
    const auto& g = settings.guitarVoice;
    const std::vector<Expected> expected{
        {1, 0, on(48, g.velocity, g.channel), 0},
        {1, 1008, 0, 51},
        {1, 1008, on(60, g.velocity, g.channel), 0},
        {1, 2016, allOff(g.channel), 0},
        {1, 2016, 0, 52},
        {1, 3360, on(52, g.velocity, g.channel), 0},
        {1, 4704, off(52, g.channel), 0},
        {1, 4704, 0, 55},
    };
    EXPECT_EQ(track(1), expected);

    settings.lightGuitar = true;
    PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, true);
    EXPECT_EQ(track(1).front(), (Expected{1, 0, on(60, g.velocity, g.channel), 0}));
}

TEST_F(Playing, AMelodyWithRhythmCountsInOneBarBeforeItself) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Melody;
    state.options.rhythm = true;
    state.options.playTonic = true;
    state.style = PlayStyle::Rhythm;
    QuestionNote half{64};
    half.noteValue = kHalfNote;
    half.beatWeight = 2;
    state.notes = {half, half};
    PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, false);

    const auto clicks = track(2);
    // Two bars of four beats from the end of the base tones: the count-in bar and the melody's.
    ASSERT_EQ(clicks.size(), 2u * 4u * 3u);  // per beat: the beat's notice, click on, click off
    EXPECT_EQ(clicks[0], (Expected{2, 3360, 0, 4 * 256 + 1}));
    EXPECT_EQ(clicks[1].message, on(settings.firstBeatClick.key, settings.firstBeatClick.velocity, 9));
    EXPECT_EQ(clicks[3], (Expected{2, 3360 + 672, 0, 4 * 256 + 2}));
    EXPECT_EQ(clicks[4].message, on(settings.metronomeClick.key, settings.metronomeClick.velocity - 20, 9));
    const auto melody = track(1);
    EXPECT_EQ(melody[5], (Expected{1, 3360 + 2688, on(64), 0}));
    EXPECT_EQ(melody.back(), (Expected{1, 3360 + 2 * 2688, 0, 55}));

    // Only the visual metronome: the beats are notified but nothing clicks.
    settings.metronomePlaying = false;
    settings.visualMetronome = true;
    state.options.playTonic = false;
    PlayQuestion(state, PlayKind::Repeat, midiOut, settings, false);
    const auto silent = track(2);
    for (const auto& e : silent) EXPECT_EQ(e.message, 0u);
    EXPECT_EQ(silent.front(), (Expected{2, 0, 0, 4 * 256 + 1}));
    EXPECT_EQ(track(1).front(), (Expected{1, 2688, on(64), 0}));
}

TEST_F(Playing, ProgressionsQueueEachChordAndKeepAnOpenChordsPlace) {
    PitchExerciseState state;
    state.mode = ExerciseMode::Progression;
    const auto voiced = VoiceProgression({QuestionNote{67}, QuestionNote{60}}, InversionMode::AllRootPosition,
                                         false, 0, 60, {}, theory::BuiltInCatalogue().chordTypes());
    state.voiced = voiced.notes;
    state.chordStarts = voiced.chordStarts;
    PlayQuestion(state, PlayKind::NewQuestion, midiOut, settings, false);
    const auto events = track(1);
    ASSERT_EQ(events.size(), 13u);
    EXPECT_EQ(events[0], (Expected{1, 0, on(67), 0}));
    EXPECT_EQ(events[6], (Expected{1, 1344, on(60), 0}));
    EXPECT_EQ(events.back(), (Expected{1, 2688, 0, 55}));

    QuestionNote open;
    open.extra = kNoChordType;
    state.answer.voiced = VoiceProgression({open, QuestionNote{60}}, InversionMode::AllRootPosition, false, 0,
                                           60, {}, theory::BuiltInCatalogue().chordTypes())
                              .notes;
    PlayQuestion(state, PlayKind::Answer, midiOut, settings, false);
    EXPECT_EQ(track(1).front(), (Expected{1, 1344, on(60), 0}));
}

TEST_F(Playing, IntervalComparisonPlaysAThenBWithItsNotices) {
    IntervalComparisonState state;
    state.notesA = {60, 64};
    state.notesB = {62, 69};
    state.style = PlayStyle::Up;
    PlayComparison(state, false, midiOut);
    const std::vector<Expected> expected{
        {1, 0, on(60), 0},     {1, 500, off(60), 0}, {1, 550, on(64), 0},   {1, 1050, off(64), 0},
        {1, 1500, 0, 41},      {1, 1500, on(62), 0}, {1, 2000, off(62), 0}, {1, 2050, on(69), 0},
        {1, 2550, off(69), 0}, {1, 2600, 0, 42},     {1, 2600, 0, 45},
    };
    EXPECT_EQ(track(1), expected);
    PlayComparison(state, true, midiOut);
    EXPECT_EQ(track(1)[4], (Expected{1, 1900, 0, 41}));
    PlayComparedInterval(state, ComparisonChoice::B, midiOut);
    EXPECT_EQ(track(1).front(), (Expected{1, 0, on(62), 0}));
    EXPECT_EQ(track(1).back(), (Expected{1, 1100, 0, 45}));
}
