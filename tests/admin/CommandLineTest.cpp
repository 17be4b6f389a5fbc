// The command line: the machine settings file that names the default data directory, dates,
// usage errors and help.
#include "AdminFixture.h"

#include "admin/Dates.h"
#include "admin/MachineIni.h"

using namespace kalvintor;
using namespace kalvintor::admin;
using namespace kalvintor::admin::testing_support;

TEST(MachineIni, ReadsValuesAsTheSettingsWriterStoresThem) {
    struct Case {
        const char* text;
        const char* group;
        const char* key;
        std::optional<std::string> value;
    };
    const Case cases[] = {
        {"[4.0]\nDatapath=/srv/data/\n", "4.0", "Datapath", "/srv/data/"},
        {"[4.0]\r\nDatapath = /srv/data/ \r\n", "4.0", "Datapath", "/srv/data/"},
        // Quoted because of a comma; escaped backslashes and quotes.
        {"[4.0]\nDatapath=\"\\\\\\\\server\\\\share, A\\\\Data\\\\\"\n", "4.0", "Datapath",
         "\\\\server\\share, A\\Data\\"},
        {"[MIDI]\nOutputDevice=\"Synth \\\"One\\\"\" ; chosen by hand\n", "MIDI", "OutputDevice",
         "Synth \"One\""},
        {"[4.0]\nDatapath=/a/\\\n  b/\n", "4.0", "Datapath", "/a/b/"},
        {"[%U0034.0]\nFirst%20time=TRUE\n", "4.0", "First time", "TRUE"},
        {"[4.0]\nDatapath=/one/\nDatapath=/two/\n", "4.0", "Datapath", "/two/"},
        {"; Datapath=/commented/\n[4.0]\n#x=1\n", "4.0", "Datapath", std::nullopt},
        {"Datapath=/top/\n", "General", "Datapath", "/top/"},
        {"[4.0]\nDatapath=\\xe9t\\xe9\n", "4.0", "Datapath", "\xC3\xA9t\xC3\xA9"},
        {"[4.0]\nDatapath=a, b\n", "4.0", "Datapath", ""},
        {"[4.0\nDatapath=/x/\n", "4.0", "Datapath", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        IniRegistry registry(parseIni(c.text));
        EXPECT_EQ(registry.readValue(c.group, c.key), c.value);
    }
}

TEST(MachineIni, NamesTheDataDirectoryAsTheProgramWouldAndNeverWritesTheFile) {
    const auto root = freshDir();
    const auto program = root / "Program";
    const auto elsewhere = root / "Elsewhere";
    fs::create_directories(elsewhere);
    const auto settings = root / "machine.ini";

    // No settings file: the program directory's Data.
    EXPECT_EQ(defaultDataDirectory(program, settings), program / "Data" / "");

    const std::string text = "[4.0]\nFirsttime=TRUE\nDatapath=" + elsewhere.string() + "\n";
    writeBytes(settings, text);
    EXPECT_EQ(defaultDataDirectory(program, settings), elsewhere / "");
    // The first-run flag is the program's to clear.
    EXPECT_EQ(readBytes(settings), text);

    // A directory that does not exist is not taken.
    writeBytes(settings, "[4.0]\nDatapath=" + (root / "Gone").string() + "\n");
    EXPECT_EQ(defaultDataDirectory(program, settings), program / "Data" / "");
}

TEST(Dates, ParsesIsoDatesAndRefusesImpossibleOnes) {
    EXPECT_EQ(parseDate("2024-03-01"), at(2024, 3, 1));
    EXPECT_EQ(parseDate("2024-02-29T13:45"), at(2024, 2, 29, 13, 45));
    EXPECT_EQ(parseDate("2024-02-29 13:45"), at(2024, 2, 29, 13, 45));
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-04-31", "2024-1-01", "2024-01-01T24:00",
                            "2024-01-01T12:60", "24-01-01", "2024-01-01x", "", "2024/01/01", "1899-12-30"})
        EXPECT_FALSE(parseDate(bad)) << bad;
    EXPECT_EQ(formatDate(at(2024, 3, 1, 9, 5)), "2024-03-01");
    EXPECT_EQ(formatTime(at(2024, 3, 1, 9, 5)), "09:05:00");
    // Whole days count into the hours, unlike the results window's clock format.
    EXPECT_EQ(formatDuration(1.0 + 2.0 / 24), "26:00:00");
    EXPECT_EQ(formatDuration(95.0 / 86400), "0:01:35");
    EXPECT_EQ(formatDuration(-1.0), "0:00:00");
    EXPECT_EQ(formatDuration(std::numeric_limits<double>::quiet_NaN()), "0:00:00");
}

TEST(CommandLine, RefusesWhatItDoesNotUnderstandWithExitCodeTwo) {
    const auto root = freshDir();
    School school(root);
    school.addUser("anna", "Anna", "Berg");
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"frobnicate"},
        {"users", "--dry-run"},
        {"users", "extra"},
        {"results", "--exercise", "11"},
        {"results", "--since", "yesterday"},
        {"results", "--json", "--csv"},
        {"results", "--user"},
        {"purge"},
        {"purge", "--before", "2024-02-30"},
        {"stats", "--period", "300"},
        {"backup"},
        {"export", "anna"},
        {"users", "--json=yes"},
    };
    for (const auto& args : bad) {
        const auto r = runAdmin(school.data, args);
        EXPECT_EQ(r.code, kExitUsage) << ::testing::PrintToString(args);
        EXPECT_TRUE(r.out.empty());
        EXPECT_NE(r.err.find("kalvintor-admin: "), std::string::npos);
    }
    // Nothing was written by any of them.
    EXPECT_FALSE(fs::exists(school.data / "Result"));
}

TEST(CommandLine, EveryCommandHasHelp) {
    const auto root = freshDir();
    for (const char* command : {"users", "classes", "results", "stats", "purge", "check", "backup", "export",
                                "import", "setup", "tutor", "help"}) {
        const auto r = runAdmin(root / "Data", {command, "--help"});
        EXPECT_EQ(r.code, kExitOk) << command;
        EXPECT_NE(r.out.find(std::string("kalvintor-admin [--data DIR] ") + command), std::string::npos)
            << command;
    }
    const auto general = runAdmin(root / "Data", {"--help"});
    EXPECT_EQ(general.code, kExitOk);
    EXPECT_NE(general.out.find("purge"), std::string::npos);
}

TEST(CommandLine, AMissingDataDirectoryIsAnErrorOnStandardError) {
    const auto root = freshDir();
    const auto r = runAdmin(root / "Nothing", {"users"});
    EXPECT_EQ(r.code, kExitFailed);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("holds no user data"), std::string::npos);
}
