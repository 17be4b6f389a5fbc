// The setup chooser's list: the setup files of the program directory and, listed with a "*" in
// front, the user's personal ones, each shown by its name up to the first dot; and the name a
// setup is saved under.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::setup {

inline constexpr std::string_view kSetupExtension = ".lvs";
inline constexpr char kPersonalMark = '*';

struct SetupListEntry {
    std::string label;           // "Basic" or "*Basic"
    std::filesystem::path file;  // the file as found, which is what choosing the entry loads
    bool personal = false;

    friend bool operator==(const SetupListEntry&, const SetupListEntry&) = default;
};

struct SetupList {
    std::vector<SetupListEntry> entries;  // sorted by label, so personal entries come first
    bool hasPersonal = false;             // show the personal-files note
};

// Whether a file name has the setup extension, in any case.
bool isSetupFileName(std::string_view fileName);

// The shown name of a setup file: its name up to the first dot. A name that starts with a dot
// keeps its name without the extension, so that no entry is empty.
std::string setupLabel(std::string_view fileName);

// The setups of `programDir` and, when `setupDir` is another directory, the personal ones there.
// Directories that are missing or unreadable add nothing; only regular files count.
SetupList listSetupFiles(const std::filesystem::path& programDir, const std::filesystem::path& setupDir);

// The file a setup typed into the save dialog is written to: the setup extension is added unless
// the name already ends with it, so that the chooser lists the file.
std::filesystem::path setupFileToSave(const std::filesystem::path& chosen);

}  // namespace kalvintor::setup
