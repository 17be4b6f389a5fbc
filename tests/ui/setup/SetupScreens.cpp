// Pictures of the pitch setup view and the chord-type editor on the staff and the guitar, for the
// documentation: saved as PNG into the folder given (run under Xvfb: setup-screens <folder>).
#include "SetupViewDoubles.h"
#include "app/Program.h"
#include "notation/TSheet.h"
#include "pitch/TGuitar.h"
#include "setup/SetupRecord.h"
#include "ui/setup/TChordEdit.h"
#include "ui/setup/TChordOps.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTest>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

void save(QWidget& w, const QString& folder, const QString& name) {
    QApplication::processEvents();
    w.grab().save(QDir(folder).filePath(name));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    // The program directory with the music font: $KALVINTOR_PROGRAM_DIR.
    ui::program().paths.programDir = qEnvironmentVariable("KALVINTOR_PROGRAM_DIR").toStdString();

    for (auto [picture, name] : {std::pair{8, "staff"}, std::pair{4, "guitar"}}) {
        ui::testing::FakeSetupHost host;
        host.picture = picture;
        TChordOps ops(host);
        ops.resize(900, 620);
        ops.show();
        ops.LoadSetup(1, setup::DefaultSetup());
        save(ops, folder, QStringLiteral("setup-chord-identification-%1.png").arg(QLatin1String(name)));
    }
    {
        // A new chord type, C E-flat G B-flat D, entered on the staff.
        ui::testing::FakeSetupHost host;
        host.picture = 8;
        TChordEdit edit(host);
        edit.resize(620, 420);
        edit.begin({}, 1);
        edit.show();
        edit.Edit1->setText(QStringLiteral("mi9"));
        const auto at = [&](int naturalPitch) {
            return QPoint(edit.Sheet->width() / 2, edit.Sheet->geometry().noteY(naturalPitch, false));
        };
        for (int p : {60, 64, 67, 71, 74}) QTest::mouseClick(edit.Sheet, Qt::LeftButton, {}, at(p));
        // Then E-flat and B-flat take the places of E and B.
        for (int p : {64, 71}) {
            edit.EditNote({static_cast<std::uint8_t>(p), 0, 0, 0}, true, 0);
            edit.EditNote({static_cast<std::uint8_t>(p - 1), 1, 0, 0}, false, 0);
        }
        save(edit, folder, QStringLiteral("chord-type-editor-staff.png"));
    }
    {
        ui::testing::FakeSetupHost host;
        host.picture = 4;
        TChordEdit edit(host);
        edit.resize(700, 380);
        edit.begin({}, 1);
        edit.show();
        edit.Edit1->setText(QStringLiteral("add9"));
        for (auto [string, fret] : {std::pair{5, 3}, std::pair{4, 2}, std::pair{3, 0}, std::pair{2, 3}})
            QTest::mouseClick(edit.Guitar, Qt::LeftButton, {}, edit.Guitar->fretCentre(string, fret));
        save(edit, folder, QStringLiteral("chord-type-editor-guitar.png"));
    }
    return 0;
}
