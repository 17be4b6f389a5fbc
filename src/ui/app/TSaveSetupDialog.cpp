// The "Save setup..." dialog.
#include "TSaveSetupDialog.h"

#include "Program.h"
#include "TLevels.h"
#include "Texts.h"
#include "language/Format.h"
#include "setup/SetupList.h"

#include <QFileInfo>
#include <QMessageBox>

namespace kalvintor::ui {

namespace {
constexpr int kTextSaveTitle = 5104;
constexpr int kTextReplace = 5106;
constexpr int kTextConfirmCaption = 5008;
}  // namespace

TSaveSetupDialog::TSaveSetupDialog(const std::filesystem::path& setupDir, const std::string& currentSetupName,
                                   QWidget* parent)
    : QFileDialog(parent, text(kTextSaveTitle, "Save Exercise Setup"), toQString(setupDir),
                  setupFileFilter()) {
    setObjectName(QStringLiteral("SaveSetupDialog"));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The extension rule and the question before replacing a file are ours (see fileToSave), so
    // that a name the extension is added to is asked about too.
    setOption(QFileDialog::DontConfirmOverwrite);
    setOption(QFileDialog::DontUseNativeDialog);
    const auto name = toPath(QString::fromStdString(currentSetupName)).filename();
    if (!name.empty()) selectFile(toQString(name));

    confirmOverwrite = [this](const QString& file) {
        const QString question = QString::fromStdString(language::FormatText(
            text(kTextReplace, "%s already exists. Do you want to replace it?").toStdString(),
            {QFileInfo(file).fileName().toStdString()}));
        return QMessageBox::question(this, text(kTextConfirmCaption, "Confirm"), question,
                                     QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
    };
}

std::optional<QString> TSaveSetupDialog::fileToSave() const {
    const QStringList files = selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) return std::nullopt;
    const QString file = toQString(setup::setupFileToSave(toPath(files.front())));
    if (QFileInfo(file).isDir()) return std::nullopt;
    if (QFileInfo::exists(file) && confirmOverwrite && !confirmOverwrite(file)) return std::nullopt;
    return file;
}

std::optional<QString> TSaveSetupDialog::ask(QWidget* parent, const std::filesystem::path& setupDir,
                                             const std::string& currentSetupName) {
    TSaveSetupDialog dialog(setupDir, currentSetupName, parent);
    // A refused replacement opens the dialog again, as the platform's own question would.
    while (dialog.exec() == QDialog::Accepted) {
        if (auto file = dialog.fileToSave()) return file;
    }
    return std::nullopt;
}

}  // namespace kalvintor::ui
