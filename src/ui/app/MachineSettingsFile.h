// The machine-wide values kept in one INI file, one group per key.
#pragma once

#include "app/MachineSettings.h"

#include <QString>

namespace kalvintor::ui {

// The file the installation names: $KALVINTOR_MACHINE_SETTINGS when set, else "kalvintor.ini" in
// the program directory.
QString machineSettingsFile();

// Keys are INI groups; a group that is not in the file is never created. A missing or unreadable
// file is a registry without keys.
class MachineSettingsFile final : public app::MachineRegistry {
public:
    explicit MachineSettingsFile(QString file);

    bool keyExists(std::string_view key) const override;
    std::optional<std::string> readValue(std::string_view key, std::string_view value) const override;
    bool writeValue(std::string_view key, std::string_view value, std::string_view text) override;

private:
    QString file_;
};

}  // namespace kalvintor::ui
