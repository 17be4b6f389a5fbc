// Recognising SoundFont files and finding the installed ones.
#include "settings/SoundFonts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <set>
#include <string>

namespace kalvintor::settings {

namespace fs = std::filesystem;

std::vector<fs::path> SoundFontFolders() {
    return {"/usr/share/sounds/sf2", "/usr/share/sounds/sf3", "/usr/share/soundfonts"};
}

bool IsSoundFontHeader(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 12) return false;
    const auto is = [&](std::size_t at, const char* tag) {
        return std::equal(tag, tag + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; });
    };
    return is(0, "RIFF") && is(8, "sfbk");
}

SoundFontCheck CheckSoundFont(const fs::path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return SoundFontCheck::Missing;
    std::ifstream in(file, std::ios::binary);
    if (!in) return SoundFontCheck::Missing;
    std::array<std::uint8_t, 12> header{};
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    return IsSoundFontHeader(std::span(header.data(), got)) ? SoundFontCheck::Usable
                                                            : SoundFontCheck::NotSoundFont;
}

std::vector<fs::path> InstalledSoundFonts(const std::vector<fs::path>& folders) {
    std::vector<fs::path> found;
    std::set<fs::path> seen;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        std::vector<fs::path> entries;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            entries.push_back(it->path());
        // A file under its own name goes before a link to it ("default-GM.sf2").
        std::stable_partition(entries.begin(), entries.end(), [](const fs::path& p) {
            std::error_code linkError;
            return !fs::is_symlink(p, linkError);
        });
        for (const fs::path& entry : entries) {
            std::string ext = entry.extension().string();
            std::transform(ext.begin(), ext.end(), ext.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (ext != ".sf2" && ext != ".sf3") continue;
            std::error_code canonicalError;
            const fs::path real = fs::canonical(entry, canonicalError);
            if (canonicalError || !seen.insert(real).second) continue;
            if (CheckSoundFont(entry) != SoundFontCheck::Usable) continue;
            found.push_back(entry);
        }
    }
    std::sort(found.begin(), found.end(),
              [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
    return found;
}

std::optional<fs::path> SoundFontLicence(const fs::path& soundFont, const fs::path& packageInfo,
                                         const fs::path& docRoot) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(soundFont, ec);
    if (ec) return std::nullopt;
    // The file under its own name and under the names of the folders' links (/usr/share/sounds/sf2
    // may itself be reached through a link).
    const std::string wanted[] = {soundFont.lexically_normal().string(), real.string()};
    for (fs::directory_iterator it(packageInfo, ec), end; !ec && it != end; it.increment(ec)) {
        if (it->path().extension() != ".list") continue;
        std::ifstream list(it->path());
        for (std::string line; std::getline(list, line);) {
            if (line != wanted[0] && line != wanted[1]) continue;
            std::string package = it->path().stem().string();
            package = package.substr(0, package.find(':'));  // "name:arch.list"
            const fs::path copyright = docRoot / package / "copyright";
            std::error_code exists;
            if (fs::is_regular_file(copyright, exists)) return copyright;
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace kalvintor::settings
