// The machine-wide values kept in one INI file, one group per key.
#pragma once

#include "app/Installation.h"
#include "app/MachineSettings.h"

#include <QString>

namespace kalvintor::ui {

// Where this program's files are: $KALVINTOR_PROGRAM_DIR when set, else beside the executable
// or in the installation's folders; the machine settings are $KALVINTOR_MACHINE_SETTINGS when set.
app::Installation programInstallation();
// The machine settings file of programInstallation().
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
