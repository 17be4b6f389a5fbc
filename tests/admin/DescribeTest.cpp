// Setup and tutor files decoded, old setups converted as the program converts them.
#include "AdminFixture.h"

#include "setup/OldSetup.h"
#include "setup/SetupRecord.h"
#include "theory/ChordCatalogue.h"
#include "tutor/TutorModel.h"

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;

namespace {

std::string chordName(int entry) {
    return theory::BuiltInCatalogue().chordTypes().entry(entry).name;
}

}  // namespace

TEST(Describe, ASetupFileShowsEveryExercisesBlock) {
    const auto root = freshDir();
    auto record = setup::DefaultSetup();
    record.stampHeader();
    auto chords = record.pitchBlock(1);
    chords.entryEnabled.fill(0);
    chords.entryEnabled[0] = 1;
    chords.entryEnabled[27] = 1;  // entry 28: the first a teacher defines
    chords.upperLimit = 84;
    record.setPitchBlock(1, chords);
    auto rhythm = record.rhythmBlock(4);
    rhythm.tempo = 120;
    record.setRhythmBlock(4, rhythm);
    writeBytes(root / "Mine.lvs", std::string(record.bytes.begin(), record.bytes.end()));

    const auto json = runAdmin(root / "Data", {"setup", (root / "Mine.lvs").string(), "--json"});
    ASSERT_EQ(json.code, kExitOk) << json.err;
    EXPECT_NE(json.out.find("\"format\":\"current\""), std::string::npos);
    EXPECT_NE(json.out.find(
                  "{\"exercise\":1,\"name\":\"Chord identification\",\"setup\":{\"entries\":[{\"number\":1,"
                  "\"name\":\"" +
                  chordName(1) + "\"},{\"number\":28,\"name\":\"\",\"user_entry\":true}]"),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"upper_limit\":{\"midi\":84,\"note\":\"C6\"}"), std::string::npos);
    EXPECT_NE(json.out.find("\"name\":\"Rhythm imitation\",\"setup\":{\"meters\":[\"4/4\"]"),
              std::string::npos);
    EXPECT_NE(json.out.find("\"tempo\":120"), std::string::npos);
    EXPECT_EQ(std::count(json.out.begin(), json.out.end(), '\n'), 1);

    const auto text = runAdmin(root / "Data", {"setup", (root / "Mine.lvs").string()});
    ASSERT_EQ(text.code, kExitOk);
    EXPECT_NE(text.out.find("    tempo: 120\n"), std::string::npos) << text.out;

    // An old file is converted: its chord entry 5 is entry 6 today.
    std::string old(setup::kOldSetupSize, '\0');
    old[0] = 13;
    old.replace(1, 13, setup::kOldHeaderText);
    old[16 + 4] = 1;
    writeBytes(root / "Old.lvs", old);
    const auto converted = runAdmin(root / "Data", {"setup", (root / "Old.lvs").string(), "--json"});
    ASSERT_EQ(converted.code, kExitOk);
    EXPECT_NE(converted.out.find("\"format\":\"older setup, converted\""), std::string::npos);
    EXPECT_NE(converted.out.find("\"entries\":[{\"number\":6,"), std::string::npos);

    writeBytes(root / "Not.lvs", std::string(670, 'x'));
    const auto refused = runAdmin(root / "Data", {"setup", (root / "Not.lvs").string()});
    EXPECT_EQ(refused.code, kExitFailed);
    EXPECT_NE(refused.err.find("not an exercise setup"), std::string::npos);
    EXPECT_EQ(runAdmin(root / "Data", {"setup", (root / "Gone.lvs").string()}).code, kExitFailed);
}

TEST(Describe, ATutorFileShowsItsStepsWithTheirWholeHints) {
    const auto root = freshDir();
    theory::ChordCatalogue working = theory::BuiltInCatalogue();
    tutor::CatalogueBackup backup;
    tutor::TutorModel course(working, backup);
    course.header.tutorName = "Ear course";
    course.header.author = "Ms \"K\"";
    tutor::TTutorObject step;
    step.record.stepName = "Thirds";
    step.record.stepQuestions = 15;
    const std::string hint = std::string(250, 'a') + "\xC3\xA9" + std::string(49, 'b');  // beyond 255
    step.setHint(hint);
    const auto block = setup::DefaultSetup().block(3);
    std::copy(block.begin(), block.end(), step.record.stepSetup.begin());
    course.addStep(3, step);
    ASSERT_TRUE(course.SaveTutorFile(root / "Ear.tut"));

    const auto json = runAdmin(root / "Data", {"tutor", (root / "Ear.tut").string(), "--json"});
    ASSERT_EQ(json.code, kExitOk) << json.err;
    EXPECT_NE(json.out.find("\"title\":\"Ear course\",\"description\":\"\",\"author\":\"Ms \\\"K\\\"\""),
              std::string::npos);
    EXPECT_NE(json.out.find("{\"exercise\":2,\"name\":\"Interval identification\",\"steps\":[]}"),
              std::string::npos);
    EXPECT_NE(
        json.out.find("\"steps\":[{\"step\":1,\"name\":\"Thirds\",\"questions\":15,\"upgrade_percent\":90,"
                      "\"downgrade_percent\":55,\"hint\":\"" +
                      hint + "\",\"setup\":{\"entries\":"),
        std::string::npos);
    EXPECT_NE(json.out.find("\"common_tone\":"), std::string::npos);

    const auto text = runAdmin(root / "Data", {"tutor", (root / "Ear.tut").string()});
    ASSERT_EQ(text.code, kExitOk);
    EXPECT_NE(text.out.find("title: Ear course\n"), std::string::npos);
    EXPECT_NE(text.out.find("        name: Thirds\n"), std::string::npos) << text.out;

    writeBytes(root / "Bad.tut", std::string(100, '\0'));
    EXPECT_EQ(runAdmin(root / "Data", {"tutor", (root / "Bad.tut").string()}).code, kExitFailed);
}
