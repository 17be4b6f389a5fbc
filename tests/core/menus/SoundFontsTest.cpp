// Recognising SoundFonts and listing the installed ones.
#include "settings/SoundFonts.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kalvintor::settings {
namespace {

namespace fs = std::filesystem;

void write(const fs::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

constexpr std::string_view kSoundFont{"RIFF\x10\0\0\0sfbkLIST", 16};

TEST(SoundFonts, HeaderDecidesWhatIsASoundFont) {
    const fs::path dir = fs::path(testing::TempDir()) / "soundfonts-check";
    fs::remove_all(dir);
    fs::create_directories(dir);
    write(dir / "good.sf2", kSoundFont);
    write(dir / "wave.sf2", std::string_view("RIFF\x10\0\0\0WAVEfmt ", 16));
    write(dir / "short.sf2", "RIFF");
    EXPECT_EQ(CheckSoundFont(dir / "good.sf2"), SoundFontCheck::Usable);
    EXPECT_EQ(CheckSoundFont(dir / "wave.sf2"), SoundFontCheck::NotSoundFont);
    EXPECT_EQ(CheckSoundFont(dir / "short.sf2"), SoundFontCheck::NotSoundFont);
    EXPECT_EQ(CheckSoundFont(dir / "absent.sf2"), SoundFontCheck::Missing);
    EXPECT_EQ(CheckSoundFont(dir), SoundFontCheck::Missing);
}

TEST(SoundFonts, InstalledListSkipsDuplicatesAndOthers) {
    const fs::path a = fs::path(testing::TempDir()) / "soundfonts-a";
    const fs::path b = fs::path(testing::TempDir()) / "soundfonts-b";
    fs::remove_all(a);
    fs::remove_all(b);
    fs::create_directories(a);
    fs::create_directories(b);
    write(a / "Zeta.SF2", kSoundFont);
    write(a / "Alpha.sf3", kSoundFont);
    write(a / "notes.txt", kSoundFont);
    write(a / "broken.sf2", "nothing");
    fs::create_symlink(a / "Zeta.SF2", a / "default-GM.sf2");
    write(b / "Beta.sf2", kSoundFont);

    const auto found = InstalledSoundFonts({a, b, a / "missing"});
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].filename(), "Alpha.sf3");
    EXPECT_EQ(found[1].filename(), "Beta.sf2");
    EXPECT_EQ(found[2].filename(), "Zeta.SF2");
}

}  // namespace
}  // namespace kalvintor::settings

namespace kalvintor::settings {
namespace {

TEST(SoundFonts, LicenceOfThePackageThatInstalledIt) {
    const fs::path root = fs::path(testing::TempDir()) / "soundfonts-licence";
    fs::remove_all(root);
    fs::create_directories(root / "info");
    fs::create_directories(root / "doc" / "gm-font");
    fs::create_directories(root / "sf2");
    write(root / "sf2" / "Gm.sf2", kSoundFont);
    write(root / "sf2" / "Own.sf2", kSoundFont);
    write(root / "doc" / "gm-font" / "copyright", "License: GPL-2\n");
    const std::string listed = (root / "sf2" / "Gm.sf2").string();
    write(root / "info" / "gm-font:all.list", "/.\n" + listed + "\n");
    write(root / "info" / "other.list", "/usr/bin/other\n");
    write(root / "info" / "gm-font.md5sums", listed + "\n");

    EXPECT_EQ(SoundFontLicence(root / "sf2" / "Gm.sf2", root / "info", root / "doc"),
              root / "doc" / "gm-font" / "copyright");
    EXPECT_EQ(SoundFontLicence(root / "sf2" / "Own.sf2", root / "info", root / "doc"), std::nullopt);
    EXPECT_EQ(SoundFontLicence(root / "sf2" / "Gm.sf2", root / "missing", root / "doc"), std::nullopt);
}

}  // namespace
}  // namespace kalvintor::settings
