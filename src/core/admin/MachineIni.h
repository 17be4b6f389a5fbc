// The machine settings file read without Qt: the INI text the program's settings writer produces,
// and the data directory its "Datapath" value names.
#pragma once

#include "app/MachineSettings.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace kalvintor::admin {

// Groups of keys and their texts. Keys and group names are unescaped (%XX, %UXXXX); values are
// unquoted and unescaped; lines before any group belong to "General"; a later key of the same
// name wins.
struct IniFile {
    std::map<std::string, std::map<std::string, std::string>> groups;
};

IniFile parseIni(std::string_view text);

// The machine values of an INI file, for reading only: the admin tool never writes them (the
// first-run flag is the program's to clear).
class IniRegistry : public app::MachineRegistry {
public:
    explicit IniRegistry(IniFile file) : file_(std::move(file)) {}
    bool keyExists(std::string_view key) const override;
    std::optional<std::string> readValue(std::string_view key, std::string_view value) const override;
    bool writeValue(std::string_view, std::string_view, std::string_view) override { return false; }

private:
    IniFile file_;
};

// The data directory the program would use: the program directory's "Data" unless the machine
// settings name another existing directory.
std::filesystem::path defaultDataDirectory(const std::filesystem::path& programDir,
                                           const std::filesystem::path& settingsFile);

}  // namespace kalvintor::admin
