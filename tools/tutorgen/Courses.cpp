// The shipped courses. Each step starts from the built-in default setup and asks a little more
// than the step before: a few far-apart choices first, then closer ones, then every direction
// and range. A student moves up at 85 % and is sent back at 50 % or less.
#include "Courses.h"

#include "Blocks.h"

#include "exercises/pitch/SetupBlock.h"
#include "exercises/rhythm/RhythmSetup.h"
#include "setup/SetupRecord.h"

#include <algorithm>
#include <initializer_list>

namespace kalvintor::tutorgen {
namespace {

using pitch::PitchExercise;
using rhythm::RhythmExercise;

constexpr std::uint8_t kUpgrade = 85;
constexpr std::uint8_t kDowngrade = 50;

tutor::TTutorObject makeStep(const std::string& name, const std::string& hint, int questions,
                             const setup::SetupRecord& record, int exercise) {
    tutor::TTutorObject step;
    step.record.stepName = name;
    step.record.upgradePercent = kUpgrade;
    step.record.downgradePercent = kDowngrade;
    step.record.stepQuestions = static_cast<std::int16_t>(questions);
    const auto block = record.block(exercise);
    std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
    step.setHint(hint);
    return step;
}

struct PitchStep {
    const char* name;
    const char* hint;
    int questions;
    std::initializer_list<int> entries;
    setupgen::Styles play;
    int lower;
    int upper;
};

CourseStep pitchStep(PitchExercise exercise, const PitchStep& s, bool commonTone = true) {
    setup::SetupRecord record = setup::DefaultSetup();
    const int number = static_cast<int>(exercise);
    setupgen::setPitch(record, exercise, {s.entries, s.play, s.lower, s.upper});
    if (exercise == PitchExercise::IntervalComparison) {
        pitch::SetupBlock block = record.pitchBlock(number);
        block.showKeySignature = commonTone ? 1 : 0;
        record.setPitchBlock(number, block);
    }
    return {number, makeStep(s.name, s.hint, s.questions, record, number)};
}

// Interval entries span entry - 1 semitones: 2 minor second ... 13 octave.
void intervalComparison(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::IntervalComparison;
    steps.push_back(pitchStep(e, {"Small, middle and large",
                                  "Both intervals start on the same tone. Listen to how far the second tone "
                                  "moves away: a step, a fifth or a whole octave.",
                                  15,
                                  {3, 8, 13},
                                  {false, true, false},
                                  55,
                                  67}));
    steps.push_back(pitchStep(e, {"Thirds, fourths and fifths",
                                  "The intervals are closer now. Sing both upper tones quietly after you "
                                  "hear them: the higher one belongs to the larger interval.",
                                  20,
                                  {4, 5, 6, 8},
                                  {false, true, false},
                                  55,
                                  69}));
    steps.push_back(pitchStep(e, {"Close neighbours",
                                  "Only a semitone may separate the two intervals. Take your time and "
                                  "press Repeat (F6) as often as you like.",
                                  20,
                                  {2, 3, 4, 5, 6, 7, 8},
                                  {false, true, false},
                                  55,
                                  69}));
    steps.push_back(pitchStep(e,
                              {"Different starting tones",
                               "Now the two intervals start on different tones, so you can no longer compare "
                               "the upper tones alone. Listen to the distance inside each interval.",
                               25,
                               {3, 4, 5, 6, 8, 10, 13},
                               {false, true, false},
                               53,
                               72},
                              false));
}

void intervalIdentification(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::Intervals;
    steps.push_back(pitchStep(e, {"Octave and fifth",
                                  "An octave sounds like the same tone again, only higher. A fifth is open "
                                  "and strong, like the start of many fanfares.",
                                  15,
                                  {8, 13},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"The fourth joins in",
                                  "A fourth opens many wedding marches and anthems. Compare it with the "
                                  "fifth: the fourth is one step narrower and sounds a little less settled.",
                                  20,
                                  {6, 8, 13},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Major and minor thirds",
                                  "A major third sounds bright, a minor third darker. Think of the first "
                                  "two tones of a major and of a minor chord.",
                                  20,
                                  {4, 5, 6, 8, 13},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Seconds",
                                  "Seconds are neighbours on the keyboard: a minor second is one key to the "
                                  "next, a major second skips one key.",
                                  20,
                                  {2, 3, 4, 5, 6, 8, 13},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Sixths and sevenths",
                                  "The wide intervals: a sixth is a third short of the octave, a seventh "
                                  "only a step short of it and wants to move on.",
                                  25,
                                  {4, 5, 6, 8, 9, 10, 11, 12, 13},
                                  {false, true, false},
                                  53,
                                  76}));
    steps.push_back(pitchStep(e, {"Every interval, up and down",
                                  "The intervals now also fall. A falling interval has the same name as "
                                  "the rising one: listen to the distance, not the direction.",
                                  30,
                                  {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
                                  {false, true, true},
                                  53,
                                  76}));
}

// Chord types: 1 major, 2 minor, 3 diminished, 4 augmented, 6 sus4, 7 dominant seventh, 8 minor
// seventh, 9 major seventh.
void chordIdentification(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::Chords;
    steps.push_back(pitchStep(e, {"Major or minor",
                                  "Major chords sound bright and settled, minor chords softer and sadder. "
                                  "The chord is played together and then tone by tone.",
                                  15,
                                  {1, 2},
                                  {true, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Diminished and augmented",
                                  "A diminished chord is tense and small, an augmented chord wide and "
                                  "floating. Both are built of two equal thirds.",
                                  20,
                                  {1, 2, 3, 4},
                                  {true, true, false},
                                  55,
                                  72}));
    steps.push_back(
        pitchStep(e, {"The suspended fourth",
                      "In a suspended chord the third is replaced by a fourth: it sounds open and "
                      "undecided, neither major nor minor.",
                      20,
                      {1, 2, 3, 4, 6},
                      {true, true, false},
                      55,
                      72}));
    steps.push_back(
        pitchStep(e, {"Seventh chords",
                      "Four tones now. The dominant seventh pulls towards home, the major seventh "
                      "is soft and dreamy, the minor seventh mellow.",
                      25,
                      {1, 2, 7, 8, 9},
                      {true, true, false},
                      53,
                      74}));
    steps.push_back(pitchStep(e, {"Played together only",
                                  "The chords are no longer broken up. Listen for the colour of the whole "
                                  "chord first, then for its top tone.",
                                  30,
                                  {1, 2, 3, 4, 6, 7, 8, 9},
                                  {true, false, false},
                                  53,
                                  74}));
}

// Inversions: 1-3 major, 4-6 minor, each root position, first and second inversion.
void chordInversions(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::Inversions;
    steps.push_back(pitchStep(e, {"Major triads",
                                  "Listen to the lowest tone. Root position sounds firm, the first inversion "
                                  "lighter, the second inversion like it wants to move on.",
                                  20,
                                  {1, 2, 3},
                                  {true, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Minor triads",
                                  "The same three positions, now in minor. The interval between the two "
                                  "lowest tones tells them apart.",
                                  20,
                                  {4, 5, 6},
                                  {true, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Major and minor mixed",
                                  "Decide first whether the chord is major or minor, then find its position "
                                  "from the bass.",
                                  30,
                                  {1, 2, 3, 4, 5, 6},
                                  {true, true, false},
                                  53,
                                  74}));
}

// Scales: 1 major, 6 natural minor, 8 harmonic minor, 9 melodic minor, 12 and 13 pentatonic,
// 14 blues.
void scales(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::Scales;
    steps.push_back(pitchStep(e, {"Major or minor",
                                  "The third tone decides: high in major, low in minor.",
                                  15,
                                  {1, 6},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Three kinds of minor",
                                  "Harmonic minor has a wide step near the top, melodic minor rises like "
                                  "major at the end, natural minor stays low.",
                                  20,
                                  {1, 6, 8, 9},
                                  {false, true, false},
                                  55,
                                  72}));
    steps.push_back(pitchStep(e, {"Pentatonic and blues",
                                  "Five-tone scales have no semitones; the blues scale adds one bent tone "
                                  "in the middle.",
                                  20,
                                  {1, 6, 12, 13, 14},
                                  {false, true, false},
                                  55,
                                  72}));
}

// Progressions: 1 V-I, 3 V7-I, 8 IV-V-I, 10 ii-V-I, 17 IV-I, 26 vi-I.
void progressions(std::vector<CourseStep>& steps) {
    const auto e = PitchExercise::Progressions;
    steps.push_back(pitchStep(e, {"Two ways home",
                                  "The dominant (V) pulls strongly towards the tonic; the subdominant (IV) "
                                  "comes home more gently, like an amen.",
                                  15,
                                  {1, 17},
                                  {true, false, false},
                                  55,
                                  67}));
    steps.push_back(pitchStep(e, {"Cadences of three chords",
                                  "Listen to the chord before the dominant: IV sounds bright and open, ii "
                                  "softer, with a minor colour.",
                                  20,
                                  {1, 8, 10, 17},
                                  {true, false, false},
                                  55,
                                  69}));
    steps.push_back(pitchStep(e, {"Seventh chords and the deceptive ending",
                                  "V7 adds a seventh that sharpens the pull home; vi-I starts from the minor "
                                  "chord of the key.",
                                  25,
                                  {1, 3, 8, 10, 17, 26},
                                  {true, false, false},
                                  53,
                                  69}));
}

// Rhythm meters: 2 is 2/4, 3 is 3/4, 4 is 4/4, 6 is 6/8. Note values: 1 whole ... 5 sixteenth.
struct RhythmStep {
    const char* name;
    std::string hint;
    int questions;
    std::initializer_list<int> meters;
    std::initializer_list<int> values;
    int tempo;
    int bars;
    bool rests;
    bool dotted;
    bool ties;
};

CourseStep rhythmStep(RhythmExercise exercise, const RhythmStep& s) {
    setup::SetupRecord record = setup::DefaultSetup();
    const int number = static_cast<int>(exercise);
    setupgen::setRhythm(
        record, exercise,
        {s.meters, s.values, s.tempo, s.bars, s.rests, s.dotted, s.ties, 0, 1, rhythm::Strictness::Kind});
    return {number, makeStep(s.name, s.hint, s.questions, record, number)};
}

// The same road for imitation, reading and correction: what changes is how the rhythm reaches
// the student (heard, read, or heard against what is written).
void rhythmRoad(std::vector<CourseStep>& steps, RhythmExercise e, const std::string& tap) {
    steps.push_back(rhythmStep(
        e, {"Quarter and half notes",
            tap + " Count \"one, two, three, four\" with the clicks; a half note lasts two counts.",
            10,
            {4},
            {2, 3},
            70,
            1,
            false,
            false,
            false}));
    steps.push_back(rhythmStep(e, {"Eighth notes",
                                   tap + " Two eighth notes share one count: say \"one-and\".",
                                   10,
                                   {4},
                                   {2, 3, 4},
                                   76,
                                   1,
                                   false,
                                   false,
                                   false}));
    steps.push_back(
        rhythmStep(e, {"Rests",
                       tap + " A rest is counted like a note but not tapped; keep counting through it.",
                       12,
                       {4},
                       {2, 3, 4},
                       76,
                       2,
                       true,
                       false,
                       false}));
    steps.push_back(rhythmStep(
        e, {"Two, three and four beats",
            tap + " The first beat of every bar is the strong one; listen for it to find the meter.",
            12,
            {2, 3, 4},
            {2, 3, 4},
            80,
            2,
            true,
            false,
            false}));
    steps.push_back(
        rhythmStep(e, {"Dotted notes",
                       tap + " A dot adds half the note's value: a dotted quarter lasts a count and a half.",
                       15,
                       {2, 3, 4},
                       {2, 3, 4},
                       80,
                       2,
                       true,
                       true,
                       false}));
    steps.push_back(
        rhythmStep(e, {"Ties and syncopation",
                       tap + " A tie joins two notes into one: tap only the first. Notes that start between "
                             "the beats give the rhythm its swing.",
                       15,
                       {2, 3, 4},
                       {2, 3, 4},
                       84,
                       2,
                       true,
                       true,
                       true}));
}

}  // namespace

std::vector<ShippedCourse> ShippedCourses() {
    ShippedCourse ear;
    ear.fileName = "English.tut";
    ear.header.tutorName = "Ear training step by step";
    ear.header.description =
        "Intervals, chords, inversions, scales and cadences, from the easiest choices to the whole "
        "set, in small steps. A step is passed at 85 %.";
    ear.header.author = "Kalvintor School";
    intervalComparison(ear.steps);
    intervalIdentification(ear.steps);
    chordIdentification(ear.steps);
    chordInversions(ear.steps);
    scales(ear.steps);
    progressions(ear.steps);

    ShippedCourse rhythm;
    rhythm.fileName = "Rhythm.tut";
    rhythm.header.tutorName = "Rhythm from quarter notes to syncopation";
    rhythm.header.description =
        "Imitation, reading and correction of rhythms in six steps each: quarter and half notes, "
        "eighths, rests, meters, dotted notes, ties. A step is passed at 85 %.";
    rhythm.header.author = "Kalvintor School";
    rhythmRoad(rhythm.steps, RhythmExercise::Imitation, "Tap the rhythm back after you have heard it.");
    rhythmRoad(rhythm.steps, RhythmExercise::Reading, "Tap the written rhythm with the clicks.");
    rhythmRoad(rhythm.steps, RhythmExercise::Correction,
               "Find the note that is written differently from what you hear.");
    return {ear, rhythm};
}

}  // namespace kalvintor::tutorgen
