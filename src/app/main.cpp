// Program entry: one instance, the welcome window, the windows in their order, the message loop.
#include "app/Program.h"
#include "app/SingleInstance.h"
#include "app/TKalvintorMain.h"
#include "app/TVelkommen.h"
#include "pitch/TIntervalSam.h"

#include <QApplication>

#include <memory>

int main(int argc, char** argv) {
    using namespace kalvintor::ui;
    QApplication application(argc, argv);

    SingleInstance instance;
    if (instance.activateRunningInstance()) return 0;

    auto welcome = std::make_unique<TVelkommen>();
    program().welcome = welcome.get();
    welcome->show();
    welcome->repaint();
    QApplication::processEvents();

    QApplication::setApplicationName(QStringLiteral("Kalvintor"));

    // The main window first; the exercise windows in their order (those built so far); the start
    // menu last. The main window owns them all.
    TKalvintorMain mainWindow;
    mainWindow.SetExerciseWindow(3, new TIntervalSam(mainWindow));
    mainWindow.CreateMenuDialog();
    // The first show runs the start-up dialogue: data directory, login, settings, setup.
    mainWindow.StartupDialogue = true;
    mainWindow.CommandLine = QApplication::arguments().mid(1);
    QObject::connect(&instance, &SingleInstance::activationRequested, &mainWindow,
                     &TKalvintorMain::activateFromAnotherStart);

    mainWindow.showMaximized();
    const int result = QApplication::exec();
    program().welcome = nullptr;
    return result;
}
