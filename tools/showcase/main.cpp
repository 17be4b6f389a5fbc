// Shows one window of the program on its own until it is closed, so that it can be looked at
// and photographed (xvfb-run, import -window root). Usage: kalvintor-showcase welcome|about, or
// kalvintor-showcase interval right|wrong [PNG_FILE] (with a file: saved there instead of shown),
// or kalvintor-showcase results [PNG_FILE [REPORT_PDF [CLASS_TABLE_PNG]]].
#include "IntervalShowcase.h"
#include "ResultsShowcase.h"
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

    if (window == QLatin1String("interval") && argc > 2) {
        const QString answer = QString::fromLocal8Bit(argv[2]);
        if (answer == QLatin1String("right") || answer == QLatin1String("wrong"))
            return kalvintor::showcase::ShowIntervalComparison(
                answer == QLatin1String("right"), argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString());
    }
    if (window == QLatin1String("results"))
        return kalvintor::showcase::ShowResults(argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString(),
                                                argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString(),
                                                argc > 4 ? QString::fromLocal8Bit(argv[4]) : QString());
    TVelkommen welcome;
    if (window == QLatin1String("welcome")) {
        welcome.show();
    } else if (window == QLatin1String("about")) {
        welcome.showAbout();
    } else {
        QTextStream(stderr) << "usage: kalvintor-showcase welcome|about|interval right|wrong "
                               "[PNG_FILE]|results [PNG_FILE [PDF]]\n";
        return 2;
    }
    return QApplication::exec();
}
