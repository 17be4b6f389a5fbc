// The first-run, data path and synchronisation delay rules of the machine-wide values.
#include "app/MachineSettings.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace kalvintor::app;

namespace {

// Keys that exist hold values; writing into a missing key fails, as opening without creating does.
class FakeRegistry : public MachineRegistry {
public:
    std::map<std::string, std::map<std::string, std::string>, std::less<>> keys;
    int writes = 0;

    bool keyExists(std::string_view key) const override { return keys.find(key) != keys.end(); }
    std::optional<std::string> readValue(std::string_view key, std::string_view value) const override {
        auto k = keys.find(key);
        if (k == keys.end()) return std::nullopt;
        auto v = k->second.find(std::string(value));
        if (v == k->second.end()) return std::nullopt;
        return v->second;
    }
    bool writeValue(std::string_view key, std::string_view value, std::string_view text) override {
        auto k = keys.find(key);
        if (k == keys.end()) return false;
        ++writes;
        k->second[std::string(value)] = std::string(text);
        return true;
    }
};

const std::filesystem::path kDefault = "/opt/kalvintor/Data/";
bool existsIn(const std::set<std::string>& dirs, const std::filesystem::path& p) { return dirs.contains(p.string()); }

}  // namespace

TEST(MachineSettings, FirstRunRules) {
    struct Case {
        const char* name;
        bool keyPresent;
        std::optional<std::string> firstTime;
        bool expectFirstRun;
        std::optional<std::string> expectStored;
        int expectWrites;
    };
    const Case cases[] = {
        {"missing key: first run, nothing written", false, std::nullopt, true, std::nullopt, 0},
        {"missing value: first run, FALSE written", true, std::nullopt, true, "FALSE", 1},
        {"TRUE: first run, FALSE written", true, "TRUE", true, "FALSE", 1},
        {"FALSE: not a first run", true, "FALSE", false, "FALSE", 0},
        {"lower-case true is not TRUE", true, "true", false, "true", 0},
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        if (c.keyPresent) {
            registry.keys["4.0"];
            if (c.firstTime) registry.keys["4.0"]["Firsttime"] = *c.firstTime;
        }
        const auto values = readStartupValues(registry, kDefault, [](auto&) { return true; });
        EXPECT_EQ(values.firstRun, c.expectFirstRun) << c.name;
        EXPECT_EQ(registry.readValue("4.0", "Firsttime"), c.expectStored) << c.name;
        EXPECT_EQ(registry.writes, c.expectWrites) << c.name;
        EXPECT_FALSE(registry.keyExists("MIDI")) << c.name;
    }
}

TEST(MachineSettings, DataPathRules) {
    const std::set<std::string> existing = {"/srv/school/kalvintor", "/opt/kalvintor/Data/"};
    struct Case {
        std::optional<std::string> datapath;
        std::string expected;
    };
    const Case cases[] = {
        {std::nullopt, "/opt/kalvintor/Data/"},
        {"", "/opt/kalvintor/Data/"},
        {"/opt/kalvintor/Data/", "/opt/kalvintor/Data/"},       // equal to the default: no change
        {"/srv/school/kalvintor", "/srv/school/kalvintor/"},    // existing: taken, separator added
        {"/srv/missing", "/opt/kalvintor/Data/"},               // missing directory: ignored
    };
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.keys["4.0"]["Firsttime"] = "FALSE";
        if (c.datapath) registry.keys["4.0"]["Datapath"] = *c.datapath;
        const auto values = readStartupValues(registry, kDefault, [&](auto& p) { return existsIn(existing, p); });
        EXPECT_EQ(values.dataPath.string(), c.expected) << c.datapath.value_or("<none>");
    }
}

TEST(MachineSettings, MidiValuesOverrideOnlyWhenNotEmpty) {
    FakeRegistry registry;
    EXPECT_FALSE(readMidiValues(registry).outputDevice);

    registry.keys["MIDI"] = {{"InputDevice", ""}, {"OutputDevice", "JACK port"}, {"Syncrodelay", "abc"}};
    auto values = readMidiValues(registry);
    EXPECT_FALSE(values.inputDevice);
    EXPECT_EQ(values.outputDevice, "JACK port");
    EXPECT_EQ(values.syncDelay, 0);  // unparsable text gives 0

    registry.keys["MIDI"]["Syncrodelay"] = " 120";
    EXPECT_EQ(readMidiValues(registry).syncDelay, 120);
}

TEST(MachineSettings, MidiValuesAreWrittenOnlyIntoAnExistingKey) {
    FakeRegistry registry;
    writeMidiValues(registry, "in", "out", 40);
    EXPECT_EQ(registry.writes, 0);
    registry.keys["MIDI"];
    writeMidiValues(registry, "in", "out", 40);
    EXPECT_EQ(registry.readValue("MIDI", "Syncrodelay"), "40");
    EXPECT_EQ(registry.readValue("MIDI", "OutputDevice"), "out");
}

TEST(MachineSettings, SyncDelayParsing) {
    EXPECT_EQ(parseSyncDelay("250"), 250);
    EXPECT_EQ(parseSyncDelay("-5"), -5);
    EXPECT_EQ(parseSyncDelay(""), 0);
    EXPECT_EQ(parseSyncDelay("12ms"), 0);
}
