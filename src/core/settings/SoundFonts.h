// The SoundFonts the built-in synthesizer can use: recognising one by its header and listing those
// installed on the machine.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace kalvintor::settings {

enum class SoundFontCheck { Usable, Missing, NotSoundFont };

// The folders a Debian system installs General MIDI SoundFonts into.
std::vector<std::filesystem::path> SoundFontFolders();

// A SoundFont file is a RIFF file of form "sfbk": the first twelve bytes say so.
bool IsSoundFontHeader(std::span<const std::uint8_t> bytes);
SoundFontCheck CheckSoundFont(const std::filesystem::path& file);

// The SoundFonts (*.sf2, *.sf3, any case) in the folders, sorted by file name; a file reached
// twice through links is listed once, and files whose header is not a SoundFont's are left out.
std::vector<std::filesystem::path> InstalledSoundFonts(const std::vector<std::filesystem::path>& folders);

// The licence of an installed SoundFont: the copyright file of the Debian package that installed
// it (found in the package lists under `packageInfo`, its copyright under `docRoot`/package).
// Nothing for a file no package installed.
std::optional<std::filesystem::path> SoundFontLicence(
    const std::filesystem::path& soundFont, const std::filesystem::path& packageInfo = "/var/lib/dpkg/info",
    const std::filesystem::path& docRoot = "/usr/share/doc");

}  // namespace kalvintor::settings
