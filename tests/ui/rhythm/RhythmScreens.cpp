// Pictures of the rhythm windows after a judged answer, for the documentation: each window is
// driven through a question on the virtual clock and saved as PNG into the folder given.
#include "RhythmRig.h"

#include "app/Program.h"
#include "app/TTipform.h"
#include "app/Tips.h"
#include "exercises/rhythm/Correction.h"
#include "rhythm/RhythmPaintBox.h"
#include "rhythm/TRytmeImit.h"
#include "rhythm/TRytmeKorr.h"
#include "rhythm/TRytmeLaes.h"
#include "rhythm/TRytmeOps.h"
#include "rhythm/TTapCalibration.h"
#include "setup/SetupRecord.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>

using namespace kalvintor;
using namespace kalvintor::ui::rhythm;
using namespace kalvintor::ui::rhythm::testing;

namespace {

void save(QWidget& w, const QString& folder, const char* name) {
    QApplication::processEvents();
    w.grab().save(QDir(folder).filePath(QString::fromLatin1(name)));
}

// Taps on the notes of the played or written rhythm with a little human unevenness, one missed.
std::multimap<double, std::function<void()>> humanTaps(RhythmExercise& w, double start,
                                                       const std::vector<double>& onsets) {
    std::multimap<double, std::function<void()>> taps;
    const int jitter[] = {5, 60, -30, 140, 0, 25, -70, 10, 35, -15, 90, 0};
    for (std::size_t i = 0; i < onsets.size(); ++i) {
        if (i == 2) continue;
        taps.emplace(start + onsets[i] + jitter[i % 12],
                     [&w] { w.Tap(kalvintor::rhythm::TapSource::Keyboard); });
    }
    return taps;
}

std::vector<double> noteStarts(const kalvintor::rhythm::Voice& voice, int tempo) {
    std::vector<double> starts;
    double at = 0;
    for (std::size_t i = 0; i < voice.size(); ++i) {
        const auto& n = voice[i];
        if (!n.rest && (i == 0 || !voice[i - 1].tied)) starts.push_back(at);
        at += n.duration * 90.0 / tempo;
    }
    return starts;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    // The program directory with the music font: $KALVINTOR_PROGRAM_DIR.
    ui::program().paths.programDir = qEnvironmentVariable("KALVINTOR_PROGRAM_DIR").toStdString();
    namespace r = kalvintor::rhythm;

    {
        auto block = quarters(4, r::Strictness::Normal, 2);
        block.noteValues = {0, 1, 1, 1, 0, 0};
        Rig<TRytmeImit> rig(4, block);
        auto& w = *rig.window;
        w.resize(1000, 560);
        rig.press(0);
        rig.run(3 * kBarMs);
        const double zero = rig.timeOf(11);
        std::vector<double> onsets;
        for (double t : rig.rhythmOnsets()) onsets.push_back(t - zero);
        rig.run(6 * kBarMs, humanTaps(w, rig.timeOf(12), onsets));
        w.ButtonAction3();
        save(w, folder, "rhythm-imitation.png");
    }
    {
        auto block = quarters(5, r::Strictness::Normal, 2);
        block.noteValues = {0, 1, 1, 1, 0, 0};
        block.dotted = 1;
        Rig<TRytmeLaes> rig(5, block);
        auto& w = *rig.window;
        w.resize(1000, 420);
        rig.press(1);
        rig.run(kBarMs);
        rig.run(4 * kBarMs, humanTaps(w, kBarMs, noteStarts(w.engine().voice(0), 90)));
        save(w, folder, "rhythm-reading.png");
    }
    {
        auto block = r::defaultRhythmSetup(r::RhythmExercise::Correction);
        block.bars = 2;
        block.noteValues = {0, 1, 1, 1, 0, 0};
        block.errors = 2;
        Rig<TRytmeKorr> rig(6, block);
        auto& w = *rig.window;
        w.resize(1000, 560);
        rig.press(1);
        rig.run(3 * kBarMs + 5);
        const auto involved = r::InvolvedNotes(w.engine().Errors());
        int marked = 0;
        for (int n : involved) {
            if (marked++ == 1) continue;  // one change found only in part
            const auto& note = w.engine().voice(0)[static_cast<std::size_t>(n)];
            w.PressOnWritten(QPoint(note.x, 64 * note.row + 30));
        }
        rig.press(3);
        save(w, folder, "rhythm-correction.png");
        // The next question marked exactly: the tick stands beside the message.
        rig.press(0);
        rig.run(rig.now() + 4 * kBarMs);
        QApplication::processEvents();  // the new rhythm is laid out where it is painted
        for (int n : r::InvolvedNotes(w.engine().Errors())) {
            const auto& note = w.engine().voice(0)[static_cast<std::size_t>(n)];
            w.PressOnWritten(QPoint(note.x, 64 * note.row + 30));
        }
        rig.press(3);
        save(w, folder, "rhythm-correction-correct.png");
    }
    {
        std::uint32_t tips = ~0u;
        ui::TTipform tip(tips, kalvintor::app::kRhythmTip, false);
        tip.show();
        save(tip, folder, "rhythm-tip.png");
    }
    {
        setup::SetupRecord saved = setup::DefaultSetup();
        TRytmeOps ops([&saved]() -> const setup::SetupRecord& { return saved; });
        ops.resize(1000, 620);
        ops.show();
        auto record = setup::DefaultSetup();
        auto block = record.rhythmBlock(4);
        block.meters[4] = 1;
        block.dotted = 1;
        record.setRhythmBlock(4, block);
        ops.LoadSetup(4, record);
        save(ops, folder, "rhythm-setup.png");
    }
    {
        Rig<TRytmeImit> rig(4, quarters(4, r::Strictness::Normal));
        auto& w = *rig.window;
        w.findChild<QPushButton*>("Calibrate")->click();
        TTapCalibration& dialog = *w.calibration();
        dialog.StartMeasuring();
        std::multimap<double, std::function<void()>> taps;
        const int spread[] = {-9, 14, -3, 6, -12, 8, 2, -5};
        for (int i = r::kLeadInClicks; i < 12; ++i)
            taps.emplace(i * kQuarterMs + 38 + spread[i - r::kLeadInClicks],
                         [&w] { w.Tap(r::TapSource::Keyboard); });
        rig.run(12 * kQuarterMs, std::move(taps));
        dialog.FinishMeasuring();
        dialog.SaveOffset();
        dialog.StartTest();
        const double start = rig.now();
        auto onsets = noteStarts(dialog.testEngine().voice(0), 90);
        std::multimap<double, std::function<void()>> test;
        const int late[] = {40, 30, 75, 38, 45, 20, 36, 41, 39, 60};
        for (std::size_t i = 0; i < onsets.size(); ++i)
            test.emplace(start + kBarMs + onsets[i] + late[i % 10], [&w] { w.Tap(r::TapSource::Keyboard); });
        rig.run(start + 3 * kBarMs, std::move(test));
        dialog.FinishTest();
        save(dialog, folder, "rhythm-calibration.png");
    }
    return 0;
}
