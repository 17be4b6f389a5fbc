// QSettings behind the machine-wide values.
#include "MachineSettingsFile.h"

#include "Program.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

namespace kalvintor::ui {
namespace {

QString q(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

app::Installation programInstallation() {
    const std::string programDir = qEnvironmentVariable("KALVINTOR_PROGRAM_DIR").toStdString();
    const std::string settings = qEnvironmentVariable("KALVINTOR_MACHINE_SETTINGS").toStdString();
    return app::locateInstallation(toPath(QCoreApplication::applicationDirPath()), programDir.c_str(),
                                   settings.c_str());
}

QString machineSettingsFile() {
    return toQString(programInstallation().machineSettings);
}

MachineSettingsFile::MachineSettingsFile(QString file) : file_(std::move(file)) {}

bool MachineSettingsFile::keyExists(std::string_view key) const {
    if (!QFileInfo(file_).isFile()) return false;
    const QSettings settings(file_, QSettings::IniFormat);
    return settings.status() == QSettings::NoError && settings.childGroups().contains(q(key));
}

std::optional<std::string> MachineSettingsFile::readValue(std::string_view key,
                                                          std::string_view value) const {
    if (!keyExists(key)) return std::nullopt;
    const QSettings settings(file_, QSettings::IniFormat);
    const QString path = q(key) + "/" + q(value);
    if (!settings.contains(path)) return std::nullopt;
    return settings.value(path).toString().toStdString();
}

bool MachineSettingsFile::writeValue(std::string_view key, std::string_view value, std::string_view text) {
    if (!keyExists(key)) return false;
    QSettings settings(file_, QSettings::IniFormat);
    settings.setValue(q(key) + "/" + q(value), q(text));
    settings.sync();
    return settings.status() == QSettings::NoError;
}

}  // namespace kalvintor::ui
