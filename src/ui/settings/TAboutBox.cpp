// The about box.
#include "TAboutBox.h"

#include "TProgramSettings.h"
#include "app/Program.h"
#include "app/Style.h"
#include "app/Texts.h"
#include "app/Version.h"
#include "settings/SoundFonts.h"
#include "sound/BuiltinSynth.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace kalvintor::ui {

namespace {

QString readText(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    return QString::fromUtf8(f.read(256 * 1024));
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), licences_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("OmKalvintor"));
    setWindowTitle(text(85, "About Kalvintor"));
    const app::Version version = app::programVersion();

    auto* title = new QLabel(QString::fromStdString(app::versionCaption(version)));
    title->setObjectName(QStringLiteral("VersionLabel"));
    title->setFont(style::uiFont(16, QFont::Bold));
    auto* build = new QLabel(QString::fromStdString(app::buildLabel(version)));
    build->setObjectName(QStringLiteral("BuildLabel"));

    licences_->setObjectName(QStringLiteral("Licences"));
    licences_->setAccessibleName(text(7960, "Licences"));
    const QString fontLicence = toQString(program().paths.programDir / "fonts" / "Bravura-LICENSE.txt");
    QString body = text(7961, "Music symbols: the Bravura font.") + "\n\n";
    const QString fontText = readText(fontLicence);
    body += fontText.isEmpty() ? text(7962, "The licence file %s is missing.").replace("%s", fontLicence)
                               : fontText;

    QString soundFont = rememberedSoundFont();
    if (soundFont.isEmpty()) soundFont = QString::fromLatin1(sound::kDefaultSoundFont);
    body += "\n\n" +
            text(7963, "Sounds of the built-in synthesizer: the SoundFont %s.").replace("%s", soundFont) +
            "\n\n";
    const auto licence = settings::SoundFontLicence(toPath(soundFont));
    const QString licenceText = licence ? readText(toQString(*licence)) : QString();
    body += licenceText.isEmpty()
                ? text(7964, "Its licence comes with the file; see its source for the terms of use.")
                : licenceText;
    licences_->setPlainText(body);
    licences_->setMinimumSize(560, 320);

    auto* buttons = new QDialogButtonBox;
    auto* close = buttons->addButton(text(95, "Close"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("Button1"));
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(build);
    layout->addWidget(licences_, 1);
    layout->addWidget(buttons);
}

}  // namespace kalvintor::ui
