// Pictures of the screen for the README, taken when KALVINTOR_SCREENSHOT_DIR names a folder (run
// under Xvfb on the xcb platform); the tests that take them are skipped otherwise.
#pragma once

#include <QApplication>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTest>

namespace kalvintor::ui::testing {

inline QString screenshotDir() {
    return qEnvironmentVariable("KALVINTOR_SCREENSHOT_DIR");
}

// Lets the windows settle and paint, then saves the screen, or `part` of it, as `name` in the
// screenshot folder.
inline void captureScreen(const QString& name, QRect part = {}) {
    QApplication::processEvents();
    QTest::qWait(400);
    QStringList arguments{QStringLiteral("-window"), QStringLiteral("root")};
    if (part.isValid()) {
        arguments
            << QStringLiteral("-crop")
            << QStringLiteral("%1x%2+%3+%4").arg(part.width()).arg(part.height()).arg(part.x()).arg(part.y())
            << QStringLiteral("+repage");
    }
    arguments << screenshotDir() + "/" + name;
    QProcess::execute(QStringLiteral("import"), arguments);
}

}  // namespace kalvintor::ui::testing
