// The setup chooser: the setups of the program directory and the user's personal ones, or any
// other setup file; the caller loads the chosen file.
#pragma once

#include "setup/SetupList.h"

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;

namespace kalvintor::ui {

class TLevels final : public QDialog {
    Q_OBJECT
public:
    // setupDir: the directory of the user's personal setups (the program directory for a guest).
    TLevels(std::filesystem::path programDir, std::filesystem::path setupDir, QWidget* parent = nullptr);

    // Shows the chooser modally; the file to load, or nothing when the user cancelled.
    static std::optional<QString> choose(QWidget* parent, const std::filesystem::path& programDir,
                                         const std::filesystem::path& setupDir);

    // Lists the setups again (done each time the dialog is shown).
    void refresh();
    // The file of the chosen entry or of "Other..." once the dialog was accepted.
    const std::optional<QString>& chosenFile() const { return chosen_; }

    QListWidget* list() const { return list_; }
    QLabel* personalNote() const { return note_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* otherButton() const { return other_; }

    // The open dialog of "Other..." (starting directory → chosen file, empty when cancelled), and
    // the help topic display; tests replace them.
    std::function<QString(QWidget* parent, const QString& startDir)> openOtherFile;
    std::function<void(int topic)> showHelp;

protected:
    void showEvent(QShowEvent* event) override;
    // F1 opens the chooser's help topic, as its Help button does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void takeSelected();

    std::filesystem::path programDir_;
    std::filesystem::path setupDir_;
    setup::SetupList setups_;
    std::optional<QString> chosen_;
    QListWidget* list_;
    QLabel* note_;
    QPushButton* ok_;
    QPushButton* other_;
};

// The caption and filter of the setup open and save dialogs.
QString setupFileFilter();

}  // namespace kalvintor::ui
