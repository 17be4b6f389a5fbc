// The course rules: opening a user's tutor, applying steps, judging a step, the default tutor.
#include "TutorFixture.h"

#include <algorithm>

#include "tutor/Course.h"

using namespace kalvintor::tutor;
using namespace kalvintor::tutor::testing_support;

TEST(Course, JudgeStepEnablesRecommendsAndWordsTheEndOfAStep) {
    struct Case {
        int score, step, count, up, down;
        bool next, previous;
        Recommendation marked;
        std::string message;
    };
    for (const Case& c : {
             Case{95, 4, 4, 90, 55, false, true, Recommendation::None, "Tutor finished: 200% (step 4)."},
             Case{60, 3, 5, 90, 55, true, true, Recommendation::Stay, "You scored 60% in step 3."},
             Case{40, 1, 5, 90, 55, false, false, Recommendation::Stay, "You scored 40% in step 1."},
             Case{50, 2, 5, 45, 20, true, true, Recommendation::Next, "You scored 50% in step 2."},
             Case{55, 2, 5, 90, 55, true, true, Recommendation::Previous, "You scored 55% in step 2."},
             Case{50, 2, 5, 90, 55, false, true, Recommendation::Previous, "You scored 50% in step 2."},
             Case{100, 1, 3, 90, 55, true, false, Recommendation::Next,
                  "Perfect! You scored 100% in step 1."},
             Case{30, 5, 5, 90, 55, false, true, Recommendation::Previous, "You scored 30% in step 5."},
         }) {
        const StepJudgement j = JudgeStep(c.score, c.step, c.count, c.up, c.down);
        const std::string label = std::to_string(c.score) + "% step " + std::to_string(c.step);
        EXPECT_EQ(j.nextEnabled, c.next) << label;
        EXPECT_TRUE(j.stayEnabled) << label;
        EXPECT_EQ(j.previousEnabled, c.previous) << label;
        EXPECT_EQ(j.recommended, c.marked) << label;
        EXPECT_EQ(j.message, c.message) << label;
    }
    EXPECT_EQ(stepAfter(kNextStep, 3), 4);
    EXPECT_EQ(stepAfter(kStay, 3), 3);
    EXPECT_EQ(stepAfter(kPreviousStep, 3), 2);
    EXPECT_EQ(stepAfter(kEndTutor, 3), 3);
}

TEST(Course, OpenUserTutorNeedsAStepForEveryExerciseThatHasSteps) {
    const auto dir = freshDir();
    Catalogues c;
    TutorModel author = c.model();
    author.addStep(1, stepFor(1));
    author.addStep(2, stepFor(2));
    ASSERT_TRUE(author.SaveTutorFile(dir / "Course.tut"));

    TutorModel model = c.model();
    TutorSteps steps{1, 1, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(OpenUserTutor(model, "Course.tut", dir, steps));
    steps[1] = 0;
    EXPECT_FALSE(OpenUserTutor(model, "Course.tut", dir, steps));
    EXPECT_FALSE(OpenUserTutor(model, "Missing.tut", dir, TutorSteps{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_FALSE(OpenUserTutor(model, "\\", dir, TutorSteps{1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
}

TEST(Course, ApplyTutorStepsCopiesTheCurrentStepsBlockIntoTheSetup) {
    Catalogues c;
    TutorModel model = c.model();
    for (int step = 1; step <= 3; ++step) {
        TTutorObject s = stepFor(4);
        s.record.stepSetup[26] = static_cast<std::uint8_t>(100 + step);  // tempo
        model.addStep(4, s);
    }
    TTutorObject melody = stepFor(9);
    melody.record.stepSetup[0] = 0x42;
    melody.record.stepSetup[29] = 0x99;  // beyond the melody block: never copied
    model.addStep(9, melody);

    kalvintor::setup::SetupRecord record = kalvintor::setup::DefaultSetup();
    TutorSteps steps{1, 1, 1, 2, 1, 1, 1, 1, 1, 1};
    ApplyTutorSteps(model, steps, 0, record);
    EXPECT_EQ(record.bytes[426 + 26], 102);
    EXPECT_EQ(record.bytes[558], 0x42);
    EXPECT_EQ(record.bytes[587], kalvintor::setup::DefaultSetup().bytes[587]);
    EXPECT_NE(record.bytes[587 - 1], 0x99);

    steps[3] = 3;
    ApplyTutorSteps(model, steps, 9, record);  // only exercise 9
    EXPECT_EQ(record.bytes[426 + 26], 102);
    steps[3] = 4;  // beyond the steps: left alone
    ApplyTutorSteps(model, steps, 4, record);
    EXPECT_EQ(record.bytes[426 + 26], 102);
}

TEST(Course, DefaultTutorFollowsTheOrderOfPreference) {
    struct Case {
        std::vector<std::string> common, language;
        std::string expected;  // "=" prefix: a full path into the common directory
        std::vector<std::string> commonAfter;
    };
    for (const Case& c : {
             Case{{"Dansk.tut", "A.tut"}, {"Dansk.tut"}, "Dansk.tut", {"A.tut", "Dansk.tut"}},
             Case{{"A.tut"}, {"dansk.TUT"}, "=dansk.TUT", {"A.tut", "dansk.TUT"}},
             Case{{"B.tut", "A.tut"}, {"English.tut"}, "A.tut", {"A.tut", "B.tut"}},
             Case{{}, {"English.tut", "Z.tut"}, "=English.tut", {"English.tut"}},
             Case{{}, {"Z.tut", "Y.tut"}, "=Y.tut", {"Y.tut"}},
         }) {
        const auto dir = freshDir(c.expected + std::to_string(c.common.size()));
        fs::create_directories(dir / "common");
        fs::create_directories(dir / "lang");
        for (const auto& n : c.common) writeAll(dir / "common" / n, "common " + n);
        for (const auto& n : c.language) writeAll(dir / "lang" / n, "lang " + n);
        const auto chosen = ChooseDefaultTutor(dir / "common", dir / "lang", "Dansk");
        ASSERT_TRUE(chosen);
        const std::string expected =
            c.expected[0] == '=' ? (dir / "common" / c.expected.substr(1)).string() : c.expected;
        EXPECT_EQ(*chosen, expected);
        std::vector<std::string> after;
        for (const auto& e : fs::directory_iterator(dir / "common"))
            after.push_back(e.path().filename().string());
        std::ranges::sort(after);
        EXPECT_EQ(after, c.commonAfter) << c.expected;
    }
    const auto dir = freshDir("none");
    EXPECT_FALSE(ChooseDefaultTutor(dir, dir, "English"));
    // A common directory that cannot take the copy leaves the user on the language directory's file.
    writeAll(dir / "English.tut", "x");
    EXPECT_EQ(ChooseDefaultTutor(dir / "missing", dir, "English"), (dir / "English.tut").string());
}

TEST(Course, ChooserShowsOnlyExercisesWithStepsInItsRowOrder) {
    TutorHeader h;
    // Steps for exercises 1 (two) and 2 (one) only.
    const std::int16_t starts[11] = {1, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4};
    std::copy(std::begin(starts), std::end(starts), h.stepStart.begin());
    const auto rows = TutorChooserRows(h);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].exercise, 2);
    EXPECT_EQ(rows[0].steps, 1);
    EXPECT_EQ(rows[1].exercise, 1);
    EXPECT_EQ(rows[1].steps, 2);
    h.stepStart[9] = 2;  // a damaged file: exercise 10 counts 2, exercise 9 counts negative
    EXPECT_EQ(TutorChooserRows(h).size(), 3u);
}

TEST(Course, TutorListShowsTitlesAndStoresBareNamesOnlyForTheCommonDirectory) {
    const auto dir = freshDir();
    fs::create_directories(dir / "common");
    TutorHeader titled;
    titled.tutorName = "  Ear basics ";
    const auto bytes = encodeTutorHeader(titled);
    writeAll(dir / "common" / "b.tut", std::string(bytes.begin(), bytes.end()));
    const auto untitled = encodeTutorHeader(TutorHeader{});
    writeAll(dir / "common" / "a.TUT", std::string(untitled.begin(), untitled.end()));
    writeAll(dir / "common" / "short.tut", "too short for a header");
    writeAll(dir / "common" / "notes.txt", "x");

    const auto common = ListTutors(dir / "common", dir / "common");
    ASSERT_EQ(common.size(), 2u);
    EXPECT_EQ(common[0].title, "a.TUT");
    EXPECT_EQ(common[0].storedName, "a.TUT");
    EXPECT_EQ(common[1].title, "Ear basics");
    EXPECT_EQ(common[1].storedName, "b.tut");
    const auto elsewhere = ListTutors(dir / "common", dir / "other");
    ASSERT_EQ(elsewhere.size(), 2u);
    EXPECT_EQ(elsewhere[1].storedName, (dir / "common" / "b.tut").string());
}
