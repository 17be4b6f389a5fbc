// Creation, first show and destruction of the main window.
#include "TKalvintorMain.h"

#include "MachineSettingsFile.h"
#include "Program.h"
#include "Style.h"
#include "THelpWindow.h"
#include "TMenuDialog.h"
#include "TVelkommen.h"
#include "Texts.h"
#include "app/MachineSettings.h"
#include "settings/SettingRecord.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QScreen>
#include <QStackedWidget>

namespace kalvintor::ui {

QString programDirectory() {
    const QString overridden = qEnvironmentVariable("KALVINTOR_PROGRAM_DIR");
    return overridden.isEmpty() ? QCoreApplication::applicationDirPath() : overridden;
}

TKalvintorMain::TKalvintorMain(QWidget* parent) : QMainWindow(parent), views_(new QStackedWidget(this)) {
    setObjectName(QStringLiteral("KalvintorMain"));
    program().mainWindow = this;

    // The custom cursors, by the numbers the exercise windows use.
    for (int number : {kCursorWhole, kCursorHalf, kCursorQuarter, kCursorFinger, kCursorRubber, kCursorSpeaker,
                       kCursor7})
        cursors_.insert(number, programCursor(number));

    FirstShow = true;

    // The program's directories; the case of the path is kept.
    Program& p = program();
    p.paths = app::makeProgramPaths(toPath(QDir::cleanPath(programDirectory())));

    // The machine-wide values. Errors leave the defaults.
    MachineSettingsFile machine(machineSettingsFile());
    const auto startup = app::readStartupValues(machine, p.paths.dataPath, [](const std::filesystem::path& dir) {
        std::error_code ec;
        return std::filesystem::is_directory(dir, ec);
    });
    p.firstRun = startup.firstRun;
    p.paths.dataPath = startup.dataPath;

    const QScreen* display = screen();
    p.highColour = !display || display->depth() > 8;
    p.imageLists = makeImageLists(p.highColour, devicePixelRatioF());

    setWindowTitle(kMainCaption);
    views_->setObjectName(QStringLiteral("Views"));
    setCentralWidget(views_);
    setMinimumSize(800, 560);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, style::colourFromSetting(settings::defaultSettings().colour));
    setPalette(palette);
    setAutoFillBackground(true);
}

TKalvintorMain::~TKalvintorMain() {
    if (program().mainWindow == this) program().mainWindow = nullptr;
}

void TKalvintorMain::ShowMaximized(QWidget* child) {
    if (views_->indexOf(child) < 0) views_->addWidget(child);
    views_->setCurrentWidget(child);
    child->show();
}

THelpWindow* TKalvintorMain::helpWindow() {
    if (!help_) help_ = new THelpWindow(this);
    return help_;
}

void TKalvintorMain::activateFromAnotherStart() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void TKalvintorMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FirstShow) {
        FirstShow = false;
        FormShowFirst();
    }
    if (program().welcome) program().welcome->hide();
}

void TKalvintorMain::CreateMenuDialog() {
    if (menu_) return;
    menu_ = new TMenuDialog(views_);
    views_->addWidget(menu_);
}

void TKalvintorMain::FormShowFirst() {
    // Until a user logs in, the built-in settings apply; their language is loaded with every bit.
    Program& p = program();
    const std::string language = language::chooseLanguage(p.paths.languageDir, settings::defaultSettings().language);
    LoadLanguage(languageFileName(QString::fromStdString(language)), language::kLoadAll, this);
    if (menu_) {
        ShowMaximized(menu_);
        menu_->StartMenu();
    }
}

void TKalvintorMain::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        helpWindow()->showContents();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

}  // namespace kalvintor::ui
