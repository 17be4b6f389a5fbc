// The editor's rules on the tutor model: reordering with the open step, file names, listings,
// step levels, and the score a finished step is judged by.
#include "TutorFixture.h"

#include "tutor/Course.h"
#include "tutor/Editing.h"
#include "tutor/StepCheck.h"

using namespace kalvintor::tutor;
using namespace kalvintor::tutor::testing_support;

namespace {

TTutorObject named(const std::string& name) {
    TTutorObject step = stepFor(1);
    step.record.stepName = name;
    return step;
}

std::string namesOf(const TutorModel& model, int exercise) {
    std::string out;
    for (int s = 1; s <= model.StepCount(exercise); ++s) out += model.StepOf(exercise, s)->record.stepName;
    return out;
}

}  // namespace

TEST(TutorEditing, ReorderingKeepsTheOpenStepOnItsStep) {
    Catalogues c;
    TutorModel model = c.model();
    for (const char* n : {"A", "B", "C", "D"}) model.addStep(1, named(n));
    model.modified = false;
    model.editorStep[0] = 1;  // B is open

    ASSERT_TRUE(model.moveStep(1, 1, 2));  // B down
    EXPECT_EQ(namesOf(model, 1), "ACBD");
    EXPECT_EQ(model.editorStep[0], 2);
    EXPECT_TRUE(model.modified);

    ASSERT_TRUE(model.moveStep(1, 3, 0));  // D to the top: B moves along
    EXPECT_EQ(namesOf(model, 1), "DACB");
    EXPECT_EQ(model.editorStep[0], 3);

    model.insertStep(1, 0, named("E"));
    EXPECT_EQ(namesOf(model, 1), "EDACB");
    EXPECT_EQ(model.editorStep[0], 4);

    ASSERT_TRUE(model.removeStep(1, 1));
    EXPECT_EQ(namesOf(model, 1), "EACB");
    EXPECT_EQ(model.editorStep[0], 3);
    ASSERT_TRUE(model.removeStep(1, 3));  // the open step itself
    EXPECT_EQ(model.editorStep[0], -1);

    EXPECT_FALSE(model.moveStep(1, 0, 3)) << "past the end";
    EXPECT_FALSE(model.removeStep(1, 3));
    EXPECT_FALSE(model.removeStep(2, 0)) << "an empty list";
    model.insertStep(1, 99, named("Z"));
    EXPECT_EQ(namesOf(model, 1), "EACZ");
}

TEST(TutorEditing, ReorderedTutorIsWrittenInListOrder) {
    const auto dir = freshDir();
    Catalogues c;
    TutorModel model = c.model();
    for (const char* n : {"A", "B", "C"}) model.addStep(3, named(n));
    model.moveStep(3, 0, 2);
    ASSERT_TRUE(model.SaveTutorFile(dir / "t.tut"));
    TutorModel again = c.model();
    ASSERT_TRUE(again.LoadTutor((dir / "t.tut").string(), dir));
    EXPECT_EQ(namesOf(again, 3), "BCA");
    ASSERT_TRUE(again.SaveTutorFile(dir / "u.tut"));
    EXPECT_EQ(readAll(dir / "t.tut"), readAll(dir / "u.tut"));
}

TEST(TutorEditing, DefaultFileNameKeepsEightUsableCharactersOfTheTitle) {
    int counter = 1;
    EXPECT_EQ(DefaultTutorFileName("Sing: basics", "Tutor:", counter), "Singbasi.tut");
    EXPECT_EQ(DefaultTutorFileName("Ear 1", "Tutor:", counter), "Ear1.tut");
    EXPECT_EQ(DefaultTutorFileName("Åse-ø", "Tutor:", counter), "Åseø.tut");
    EXPECT_EQ(counter, 1);
    EXPECT_EQ(DefaultTutorFileName("*.?/ :", "Tutor:", counter), "Tutor_1.tut");
    EXPECT_EQ(DefaultTutorFileName("", "Tutor:", counter), "Tutor_2.tut");
    EXPECT_EQ(counter, 3);
}

TEST(TutorEditing, TutorLinesListEveryExerciseAndStep) {
    Catalogues c;
    TutorModel model = c.model();
    TTutorObject triads = named("Triads");
    triads.setHint("Listen");
    model.addStep(1, triads);
    model.addStep(1, named("Sevenths"));
    std::array<std::string, kExerciseCount> captions;
    for (int e = 1; e <= kExerciseCount; ++e)
        captions[static_cast<std::size_t>(e - 1)] = "Ex " + std::to_string(e);
    captions[0] = "Chord identification";
    const std::string stars(31, '*');
    const std::string text = TutorLines(model, captions);
    EXPECT_EQ(text.substr(0, text.find(stars + "\nEX 2")),
              stars + "\nCHORD IDENTIFICATION\n" + stars + "\n1| Triads |\nListen\n\n2| Sevenths |\n\n");
    // Exercises without steps have only their asterisk block.
    EXPECT_NE(text.find(stars + "\nEX 2\n" + stars + "\n" + stars + "\nEX 3\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("EX 10\n" + stars + "\n"));
}

TEST(TutorEditing, StepLevelsPushEachOtherApart) {
    struct Case {
        StepLevels in;
        bool upgradeChanged;
        StepLevels out;
    };
    for (const Case& c : {
             Case{{55, 55}, true, {55, 54}},
             Case{{90, 90}, false, {91, 90}},
             Case{{90, 55}, true, {90, 55}},
             Case{{2, 40}, true, {2, 1}},
             Case{{100, 99}, false, {100, 99}},
             Case{{1, 0}, true, {2, 1}},
         }) {
        EXPECT_EQ(PushLevels(c.in, c.upgradeChanged), c.out) << c.in.upgrade << "/" << c.in.downgrade;
    }
}

TEST(TutorEditing, StepScoreRoundsHalvesUpAndAveragesRhythmScores) {
    struct Case {
        int exercise;
        std::int64_t correct, questions;
        int score;
    };
    for (const Case& c : {Case{1, 2, 3, 67}, Case{2, 1, 8, 13}, Case{3, 1, 3, 33}, Case{10, 5, 5, 100},
                          Case{4, 170, 2, 85}, Case{6, 199, 2, 99}, Case{1, 0, 0, 0}, Case{5, 0, 0, 0}}) {
        EXPECT_EQ(StepScore(c.exercise, c.correct, c.questions), c.score) << c.exercise << ":" << c.correct;
    }
}

TEST(TutorEditing, StepsWhoseSetupCannotAskAreFound) {
    Catalogues c;
    TutorModel model = c.model();
    for (int e : {1, 3, 4, 9}) model.addStep(e, stepFor(e));
    TTutorObject nothing = stepFor(3);
    std::fill_n(nothing.record.stepSetup.begin(), 60, std::uint8_t{0});  // no interval chosen
    model.addStep(3, nothing);
    TTutorObject noChords = stepFor(1);
    std::fill_n(noChords.record.stepSetup.begin(), 60, std::uint8_t{0});
    model.addStep(1, noChords);
    const auto silent = SilentSteps(model, c.working);
    ASSERT_EQ(silent.size(), 2u);
    EXPECT_EQ(silent[0].exercise, 1);
    EXPECT_EQ(silent[0].step, 2);
    EXPECT_EQ(silent[1].exercise, 3);
    EXPECT_EQ(silent[1].step, 2);
}
