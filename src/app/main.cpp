// Program entry: one instance, the welcome window, the windows in their order, the message loop.
#include "ProgramWindows.h"
#include "app/InfoOptions.h"
#include "app/Installation.h"
#include "app/Program.h"
#include "app/QuitSignals.h"
#include "app/SingleInstance.h"
#include "app/TKalvintorMain.h"
#include "app/TVelkommen.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

int main(int argc, char** argv) {
    using namespace kalvintor::ui;
    // --version and --help are answered before anything needs a display.
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (!args.empty() && (args.front() == "--version" || args.front() == "--help")) {
        const kalvintor::app::Installation found = kalvintor::app::locateInstallation(
            kalvintor::app::executableDirectory(argv[0]), std::getenv("KALVINTOR_PROGRAM_DIR"),
            std::getenv("KALVINTOR_MACHINE_SETTINGS"));
        const std::string help = kalvintor::app::programHelp(found.programDir, found.machineSettings);
        return kalvintor::app::answerInfoOption(args, "kalvintor", help, std::cout).value_or(0);
    }
    QApplication application(argc, argv);

    SingleInstance instance;
    if (instance.activateRunningInstance()) return 0;

    auto welcome = std::make_unique<TVelkommen>();
    program().welcome = welcome.get();
    welcome->show();
    welcome->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Kalvintor"));

    // The main window first; the exercise windows in their order; the start menu last. The main
    // window owns them all.
    TKalvintorMain mainWindow;
    CreateProgramWindows(mainWindow);
    // The first show runs the start-up dialogue: data directory, login, settings, setup.
    mainWindow.StartupDialogue = true;
    mainWindow.CommandLine = QApplication::arguments().mid(1);
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainWindow,
                     &TKalvintorMain::activateFromAnotherStart);
    // A shutdown, a closed terminal or the end of the desktop session keeps the session first.
    const QuitSignals quitSignals(mainWindow);

    mainWindow.showMaximized();
    const int result = QApplication::exec();
    program().welcome = nullptr;
    return result;
}
