// Shows one window of the program on its own until it is closed, so that it can be looked at
// and photographed (xvfb-run, import -window root). Usage: kalvintor-showcase welcome|about
#include "app/Program.h"
#include "app/TKalvintorMain.h"
#include "app/TVelkommen.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    using namespace kalvintor::ui;
    QApplication application(argc, argv);
    const QString window = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    program().paths = kalvintor::app::makeProgramPaths(toPath(programDirectory()));

    TVelkommen welcome;
    if (window == QLatin1String("welcome")) {
        welcome.show();
    } else if (window == QLatin1String("about")) {
        welcome.showAbout();
    } else {
        QTextStream(stderr) << "usage: kalvintor-showcase welcome|about\n";
        return 2;
    }
    return QApplication::exec();
}
