// Tutor files: header and step layouts, saving and loading, hints, material, older tutors,
// damaged files and importing steps.
#include "TutorFixture.h"

#include "records/Binary.h"
#include "tutor/OldMaterial.h"

using namespace kalvintor::tutor;
using namespace kalvintor::tutor::testing_support;
namespace theory = kalvintor::theory;

TEST(TutorRecords, HeaderAndStepAreWrittenAndReadAtTheirOffsets) {
    TutorHeader h;
    h.tutorName = "Ears";
    h.description = "D";
    h.author = "Kim";
    for (std::size_t i = 0; i < 20; ++i) h.stepStart[i] = static_cast<std::int16_t>(i + 1);
    h.unused[57] = 9;
    const auto hb = encodeTutorHeader(h);
    EXPECT_EQ(std::vector<std::uint8_t>(hb.begin(), hb.begin() + 5),
              (std::vector<std::uint8_t>{4, 'E', 'a', 'r', 's'}));
    EXPECT_EQ(hb[52], 1);
    EXPECT_EQ(hb[53], 'D');
    EXPECT_EQ(hb[308], 3);
    EXPECT_EQ(hb[348], 1);
    EXPECT_EQ(hb[386], 20);
    EXPECT_EQ(hb[388], 0xA5);
    EXPECT_EQ(hb[389], 0x5E);
    EXPECT_EQ(hb[447], 9);
    EXPECT_EQ(decodeTutorHeader(hb), h);

    StepRecord s;
    s.stepName = "One";
    s.hint = "H";
    s.stepQuestions = 0x0102;
    s.stepSetup[0] = 7;
    s.stepSetup[99] = 8;
    s.hintRestLength = 0x0304;
    const auto sb = encodeStepRecord(s);
    EXPECT_EQ(sb[0], 3);
    EXPECT_EQ(sb[52], 1);
    EXPECT_EQ(sb[53], 'H');
    EXPECT_EQ(sb[308], 90);
    EXPECT_EQ(sb[309], 55);
    EXPECT_EQ(sb[310], 2);
    EXPECT_EQ(sb[311], 1);
    EXPECT_EQ(sb[316], 7);
    EXPECT_EQ(sb[415], 8);
    EXPECT_EQ(sb[446], 4);
    EXPECT_EQ(sb[447], 3);
    EXPECT_EQ(decodeStepRecord(sb), s);
}

TEST(TutorFile, StepStartCountsTheStepsOfEachExercise) {
    const auto dir = freshDir();
    Catalogues c;
    TutorModel model = c.model();
    for (int i = 0; i < 4; ++i) model.addStep(3, stepFor(3));
    ASSERT_TRUE(model.SaveTutorFile(dir / "three.tut"));
    const auto header = ReadTutorHeader(dir / "three.tut");
    ASSERT_TRUE(header);
    std::array<std::int16_t, 20> expected{};
    expected.fill(5);
    expected[0] = expected[1] = expected[2] = 1;
    EXPECT_EQ(header->stepStart, expected);
    EXPECT_EQ(fs::file_size(dir / "three.tut"), 448u + 26940u + 4 * 448u);
    EXPECT_FALSE(model.modified);

    TutorModel again = c.model();
    ASSERT_TRUE(again.LoadTutor((dir / "three.tut").string(), dir));
    EXPECT_EQ(again.StepCount(3), 4);
    EXPECT_EQ(again.StepCount(2), 0);
    EXPECT_EQ(again.StepOf(3, 4)->record, model.StepOf(3, 4)->record);
    EXPECT_EQ(again.StepOf(3, 5), nullptr);
    EXPECT_EQ(again.StepOf(3, 0), nullptr);
}

TEST(TutorFile, HintsBeyond255CharactersAreStoredAfterTheirRecord) {
    const auto dir = freshDir();
    Catalogues c;
    struct Case {
        std::size_t length;
        std::size_t rest;
    };
    for (const Case& k : {Case{0, 0}, Case{255, 0}, Case{256, 1}, Case{2300, 2045}}) {
        TutorModel model = c.model();
        TTutorObject step = stepFor(1);
        std::string hint;
        for (std::size_t i = 0; i < k.length; ++i) hint += static_cast<char>('a' + i % 26);
        step.setHint(hint);
        EXPECT_EQ(step.record.hintRestLength, k.rest);
        model.addStep(1, step);
        const auto file = dir / ("hint" + std::to_string(k.length) + ".tut");
        ASSERT_TRUE(model.SaveTutorFile(file));
        EXPECT_EQ(fs::file_size(file), 448u + 26940u + 448u + k.rest);
        TutorModel loaded = c.model();
        ASSERT_TRUE(loaded.LoadTutor(file.string(), dir));
        EXPECT_EQ(loaded.StepOf(1, 1)->fullHint(), hint);
    }
    // A remainder longer than 2048 characters is cut on loading.
    TutorModel model = c.model();
    model.addStep(1, stepFor(1));
    ASSERT_TRUE(model.SaveTutorFile(dir / "long.tut"));
    std::string bytes = readAll(dir / "long.tut");
    const std::size_t record = 448 + 26940;
    bytes[record + 446] = static_cast<char>(3000 & 0xFF);
    bytes[record + 447] = static_cast<char>(3000 >> 8);
    bytes += std::string(3000, 'z');
    writeAll(dir / "long.tut", bytes);
    ASSERT_TRUE(model.LoadTutor((dir / "long.tut").string(), dir));
    EXPECT_EQ(model.StepOf(1, 1)->hintRest, std::string(2048, 'z'));
}

TEST(TutorFile, OnlyUserEntriesBringTheTutorsMaterialAndClosingPutsTheCatalogueBack) {
    const auto dir = freshDir();
    Catalogues c;
    theory::ChordCatalogue teacher = c.working;
    teacher.chordTypes().entry(28).name = "Teacher chord";
    teacher.chordTypes().entry(28).count = 3;
    teacher.chordTypes().entry(1).name = "Name of another language";
    {
        Catalogues author;
        author.working = teacher;
        TutorModel model = author.model();
        TTutorObject user = stepFor(1);
        user.record.stepSetup[27] = 1;  // chord type 28
        model.addStep(1, user);
        ASSERT_TRUE(model.SaveTutorFile(dir / "user.tut"));
        TutorModel plain = author.model();
        plain.addStep(1, stepFor(1));
        ASSERT_TRUE(plain.SaveTutorFile(dir / "plain.tut"));
    }
    const theory::ChordCatalogue original = c.working;
    TutorModel model = c.model();
    ASSERT_TRUE(model.LoadTutor("plain.tut", dir));
    EXPECT_EQ(c.working, original);
    EXPECT_FALSE(c.backup.catalogueReplaced);

    ASSERT_TRUE(model.LoadTutor("user.tut", dir));
    EXPECT_TRUE(c.backup.catalogueReplaced);
    EXPECT_EQ(c.backup.tables, original);
    EXPECT_EQ(c.working.chordTypes().entry(28).name, "Teacher chord");
    EXPECT_EQ(c.working.chordTypes().entry(1).name,
              original.chordTypes().entry(1).name);  // names of this language

    ASSERT_TRUE(model.LoadTutor("plain.tut", dir));  // the first tutor's material does not leak
    EXPECT_EQ(c.working, original);
    ASSERT_TRUE(model.LoadTutor("user.tut", dir));
    ASSERT_TRUE(model.CloseTutor());
    EXPECT_EQ(c.working, original);
    EXPECT_EQ(model.header.tutorName, "");
    EXPECT_EQ(model.StepCount(1), 0);
}

TEST(TutorFile, OlderTutorsConvertTheirMaterialAndStepsAndHaveNoProgressions) {
    const auto dir = freshDir();
    Catalogues c;
    std::string file(448, '\0');
    kalvintor::records::MutableBytes head(reinterpret_cast<std::uint8_t*>(file.data()), 448);
    // Steps: one for exercise 1, one for exercise 4, and (ignored) one for exercise 10.
    const std::int16_t starts[11] = {1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 4};
    for (std::size_t i = 0; i < 11; ++i) kalvintor::records::putI16(head, 348 + 2 * i, starts[i]);
    std::string material(5600, '\0');
    // Old chord type 15 (new 28): three notes, the last two placeholders.
    const std::size_t entry = 14;
    material[entry * 24 + 0] = 64;
    material[entry * 24 + 2] = 40;
    material[entry * 24 + 3] = -1;
    material[entry * 24 + 4] = static_cast<char>(-3);
    material[672 + entry] = 3;
    material[700 + entry * 25] = 2;
    material[700 + entry * 25 + 1] = 'O';
    material[700 + entry * 25 + 2] = 'k';
    file += material;
    std::string step1(448, '\0');
    step1[0] = 1;
    step1[1] = 'A';
    step1[316 + 14] = 1;  // old chord type 15 selected
    step1[316 + 34] = 2;  // piano answers
    step1[446] = 5;       // not read in older tutors
    std::string step4(448, '\0');
    step4[316 + 12] = 100;  // old rhythm tempo
    file += step1 + step4 + std::string(448, '\0');
    writeAll(dir / "old.tut", file);

    const theory::ChordCatalogue original = c.working;
    TutorModel model = c.model();
    ASSERT_TRUE(model.LoadTutor("old.tut", dir));
    EXPECT_EQ(model.StepCount(1), 1);
    EXPECT_EQ(model.StepCount(4), 1);
    EXPECT_EQ(model.StepCount(10), 0);
    ASSERT_TRUE(model.StepOf(1, 1) && model.StepOf(4, 1));
    const auto& block = model.StepOf(1, 1)->record.stepSetup;
    EXPECT_EQ(block[27], 1);  // new chord type 28
    EXPECT_EQ(block[66], 2);
    EXPECT_EQ(model.StepOf(1, 1)->record.hintRestLength, 0);
    EXPECT_EQ(model.StepOf(4, 1)->record.stepSetup[26], 100);
    // The step selects a user entry, so the converted material is now the working catalogue.
    const theory::CatalogueEntry& converted = c.working.chordTypes().entry(28);
    EXPECT_EQ(converted.count, 3);
    EXPECT_EQ(converted.name, "Ok");
    EXPECT_EQ(converted.notes[0], (theory::CatalogueNote{64, 0, 255, 0}));
    EXPECT_EQ(converted.notes[1], (theory::CatalogueNote{59, -1, 255, 0}));
    EXPECT_EQ(converted.notes[2], (theory::CatalogueNote{58, 0, 255, 0}));
    EXPECT_EQ(converted.notes[3], original.chordTypes().entry(28).notes[3]);
    EXPECT_EQ(c.working.chordTypes().entry(27), original.chordTypes().entry(27));
}

TEST(TutorFile, DamagedFilesLoadWhatTheyHoldOrAreRefused) {
    const auto dir = freshDir();
    Catalogues c;
    TutorModel model = c.model();
    model.addStep(1, stepFor(1));
    model.addStep(2, stepFor(2));
    ASSERT_TRUE(model.SaveTutorFile(dir / "good.tut"));
    const std::string good = readAll(dir / "good.tut");

    struct Case {
        std::string name;
        std::string bytes;
        bool loads;
        int steps1, steps2;
    };
    std::string hintBeyond = good;
    hintBeyond[448 + 26940 + 447] = 0x40;  // exercise 1's hint remainder runs past the end
    std::string disorder = good;
    disorder[348 + 2] = 10;  // StepStart(2) after StepStart(3): exercise 2 counts negative
    std::string huge = good;
    huge[348 + 2] = 0;
    huge[348 + 3] = 0x7F;  // 32000 steps for exercise 1
    for (const Case& k : {Case{"truncated-header", good.substr(0, 300), false, 0, 0},
                          Case{"truncated-material", good.substr(0, 448 + 1000), false, 0, 0},
                          Case{"truncated-step", good.substr(0, good.size() - 10), true, 1, 0},
                          Case{"hint-beyond", hintBeyond, true, 0, 0},
                          Case{"disorder", disorder, true, 2, 0},  // nine asked, two there
                          Case{"huge", huge, true, 2, 0}}) {
        writeAll(dir / (k.name + ".tut"), k.bytes);
        TutorModel loaded = c.model();
        EXPECT_EQ(loaded.LoadTutor(k.name + ".tut", dir), k.loads) << k.name;
        EXPECT_EQ(loaded.StepCount(1), k.steps1) << k.name;
        EXPECT_EQ(loaded.StepCount(2), k.steps2) << k.name;
    }
    TutorModel absent = c.model();
    EXPECT_FALSE(absent.LoadTutor("missing.tut", dir));
}

TEST(TutorFile, ImportStepsAppendsOneExercisesStepsOfAnotherTutor) {
    const auto dir = freshDir();
    Catalogues c;
    TutorModel other = c.model();
    TTutorObject longHint = stepFor(1);
    longHint.setHint(std::string(600, 'h'));  // its remainder must be skipped
    other.addStep(1, longHint);
    TTutorObject wanted = stepFor(2);
    wanted.record.stepName = "wanted";
    wanted.setHint(std::string(300, 'w'));
    other.addStep(2, wanted);
    ASSERT_TRUE(other.SaveTutorFile(dir / "other.tut"));

    TutorModel model = c.model();
    model.addStep(2, stepFor(2));
    model.modified = false;
    ASSERT_TRUE(model.ImportSteps(dir / "other.tut", 2));
    EXPECT_TRUE(model.modified);
    ASSERT_EQ(model.StepCount(2), 2);
    EXPECT_EQ(model.StepOf(2, 2)->record.stepName, "wanted");
    EXPECT_EQ(model.StepOf(2, 2)->fullHint(), std::string(300, 'w'));
    EXPECT_EQ(model.StepCount(1), 0);

    std::string old = readAll(dir / "other.tut");
    old[388] = 0;  // not the current layout
    writeAll(dir / "old.tut", old);
    EXPECT_FALSE(model.ImportSteps(dir / "old.tut", 2));
}
