// The setups the program ships: they load as current setups, offer only material the catalogue
// has, and grow harder from level to level.
#include "Levels.h"
#include "setup/SetupFile.h"
#include "setup/SetupList.h"
#include "theory/ChordCatalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

using namespace kalvintor;
namespace fs = std::filesystem;

namespace {

const theory::CatalogueTable& tableOf(int exercise) {
    const auto& c = theory::BuiltInCatalogue();
    switch (exercise) {
        case 1:
            return c.chordTypes();
        case 7:
            return c.inversions();
        case 2:
        case 3:
            return c.intervals();
        case 8:
            return c.scales();
        default:
            return c.progressions();
    }
}

int enabledEntries(const setup::SetupRecord& record, int exercise) {
    const auto block = record.pitchBlock(exercise);
    int count = 0;
    for (int entry = 1; entry <= pitch::kEntryFlagCount; ++entry) count += block.entryOn(entry) ? 1 : 0;
    return count;
}

}  // namespace

TEST(ShippedSetups, TheDefaultAndThreeLevelsLoadFromTheirFiles) {
    const auto shipped = setupgen::ShippedSetups();
    ASSERT_EQ(shipped.size(), 4u);
    EXPECT_EQ(shipped[0].fileName, "Default_level.lvs");
    EXPECT_FALSE(setup::SetupDiffers(shipped[0].record, setup::DefaultSetup()));

    const fs::path dir = fs::temp_directory_path() / "kalvintor-shipped-setups";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::vector<std::string> labels;
    for (const auto& s : shipped) {
        std::ofstream(dir / s.fileName, std::ios::binary)
            .write(reinterpret_cast<const char*>(s.record.bytes.data()),
                   static_cast<std::streamsize>(s.record.bytes.size()));
        const auto read = setup::readSetupFile(dir / s.fileName);
        EXPECT_EQ(read.status, setup::SetupReadStatus::Loaded) << s.fileName;
        EXPECT_EQ(read.record, s.record) << s.fileName;
    }
    for (const auto& e : setup::listSetupFiles(dir, dir).entries) labels.push_back(e.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"Advanced", "Beginner", "Default_level", "Intermediate"}));
    fs::remove_all(dir);
}

TEST(ShippedSetups, EveryLevelOffersRealMaterialAndGrowsHarder) {
    const auto shipped = setupgen::ShippedSetups();
    const setup::SetupRecord* levels[] = {&shipped[1].record, &shipped[2].record, &shipped[3].record};
    for (int exercise : {1, 2, 3, 7, 8, 10}) {
        SCOPED_TRACE(::testing::Message() << "exercise " << exercise);
        int previous = 0;
        for (const auto* record : levels) {
            const auto block = record->pitchBlock(exercise);
            for (int entry = 1; entry <= pitch::kEntryFlagCount; ++entry) {
                if (block.entryOn(entry)) {
                    EXPECT_GT(tableOf(exercise).entry(entry).noteCount(), 0) << "entry " << entry;
                }
            }
            const int count = enabledEntries(*record, exercise);
            EXPECT_GE(count, 2) << "a question needs two at least";
            EXPECT_GT(count, previous) << "each level offers more";
            previous = count;
            EXPECT_LT(block.lowerLimit, block.upperLimit);
            EXPECT_TRUE(block.playTogether || block.arpeggioUp || block.arpeggioDown);
        }
    }
    int previousTempo = 0;
    for (const auto* record : levels) {
        for (int exercise : {4, 5, 6}) {
            const auto block = record->rhythmBlock(exercise);
            EXPECT_GE(block.tempo, rhythm::kMinTempo);
            EXPECT_LE(block.tempo, rhythm::kMaxTempo);
            EXPECT_TRUE(std::any_of(block.meters.begin(), block.meters.end(), [](auto m) { return m != 0; }));
            EXPECT_TRUE(
                std::any_of(block.noteValues.begin(), block.noteValues.end(), [](auto v) { return v != 0; }));
        }
        EXPECT_GT(record->rhythmBlock(4).tempo, previousTempo);
        previousTempo = record->rhythmBlock(4).tempo;
        const auto melody = record->melodyBlock();
        EXPECT_LT(melody.lowerLimit, melody.upperLimit);
        EXPECT_TRUE(std::any_of(melody.keys.begin(), melody.keys.end(), [](auto k) { return k != 0; }));
    }
}
