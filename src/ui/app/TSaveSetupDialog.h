// "Save setup...": the save dialog that names the file the current exercise setup is written to.
#pragma once

#include <QFileDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kalvintor::ui {

class TSaveSetupDialog final : public QFileDialog {
    Q_OBJECT
public:
    // Starts in setupDir with the current setup's file name (without its directory) filled in.
    TSaveSetupDialog(const std::filesystem::path& setupDir, const std::string& currentSetupName,
                     QWidget* parent = nullptr);

    // Shows the dialog modally; the file to save under, or nothing when the user cancelled.
    static std::optional<QString> ask(QWidget* parent, const std::filesystem::path& setupDir,
                                      const std::string& currentSetupName);

    // After the dialog was accepted: the chosen file with the setup extension, once the user agreed
    // to replace it when it exists; nothing when the user did not.
    std::optional<QString> fileToSave() const;

    // Asks whether an existing file may be replaced; tests replace it.
    std::function<bool(const QString& file)> confirmOverwrite;
};

}  // namespace kalvintor::ui
