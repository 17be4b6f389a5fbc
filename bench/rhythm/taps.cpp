// Taps and the judged notation in the rhythm windows: how far a key press posted through the Qt
// event queue lands from the moment it was posted (tap_error_max_ms over 500 taps), and how long
// twelve bars of notation with their judging marks take to repaint at a pixel ratio of 2
// (rhythm_paint_ms).
#include "app/Clock.h"
#include "app/Program.h"
#include "app/Random.h"
#include "rhythm/RhythmPaintBox.h"
#include "rhythm/TRytmeLaes.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <chrono>

namespace {

using namespace kalvintor;
using namespace kalvintor::ui::rhythm;

std::int64_t steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr int kTaps = 500;
// Each tap is stamped as if it came this much after the one before, so that the window's gate
// against a bouncing key lets every one through; the real queue delay is what is measured.
constexpr std::int64_t kSpacingMs = 30;

void BM_SpaceBarTapsThroughTheEventQueue(benchmark::State& state) {
    ui::testing::RecordingHost host;
    TRytmeLaes window(host);
    window.show();
    // The window's first paint is not part of a tap.
    QCoreApplication::processEvents();
    std::int64_t shift = 0;
    app::SetMillisecondClock([&shift] { return steadyMs() + shift; });
    std::int64_t worst = 0;
    for (auto _ : state) {
        for (int i = 0; i < kTaps; ++i) {
            if (window.engine().TapCount() >= kalvintor::rhythm::kMaxTaps) window.engine().ClearTaps();
            window.Listening = true;
            shift += kSpacingMs;
            const std::int64_t posted = steadyMs() + shift;
            QCoreApplication::postEvent(&window,
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
            QCoreApplication::postEvent(
                &window, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
            QCoreApplication::processEvents();
            const auto& taps = window.engine().Taps();
            if (taps.empty()) {
                state.SkipWithError("a tap did not reach the judge");
                break;
            }
            worst = std::max(worst, taps.back() - posted);
        }
    }
    app::SetMillisecondClock(nullptr);
    state.counters["tap_error_max_ms"] = static_cast<double>(worst);
}
BENCHMARK(BM_SpaceBarTapsThroughTheEventQueue)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RepaintTwelveJudgedBars(benchmark::State& state) {
    namespace r = kalvintor::rhythm;
    r::TRytme engine;
    auto setup = r::defaultRhythmSetup(r::RhythmExercise::Reading);
    setup.noteValues = {0, 1, 1, 1, 1, 0};
    setup.triplets = r::tripletBit(r::kEighth);
    setup.dotted = setup.rests = setup.ties = 1;
    setup.bars = r::kMaxBars;
    // The same rhythm on every run: the generator's reseeding reads a fixed value, not the clock.
    app::SeedRandom(3);
    app::SetRandomizeClock([] { return std::uint64_t{3}; });
    engine.Setup(setup);
    engine.Generate();
    app::SetRandomizeClock(nullptr);
    // Taps on every other note, some early, some late: every kind of mark.
    engine.StartTapsAt(1000);
    std::int64_t at = 1000;
    int i = 0;
    for (const auto& n : engine.voice(0)) {
        if (i++ % 2 == 0) engine.AddTap(at + (i % 3 - 1) * 60);
        at += n.duration * r::kTickTempo / engine.Tempo();
    }
    std::string message;
    engine.Evaluate(90, message);

    RhythmPaintBox box(engine, 0);
    box.resize(1000, 400);
    box.setShowMarks(true);
    QImage image(2000, 2 * box.height(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2.0);
    double totalMs = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        QPainter p(&image);
        box.render(&p);
        p.end();
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["rhythm_paint_ms"] = totalMs / static_cast<double>(state.iterations());
    state.counters["notes"] = static_cast<double>(engine.voice(0).size());
}
BENCHMARK(BM_RepaintTwelveJudgedBars)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The music font of the program directory: $KALVINTOR_PROGRAM_DIR, else the build's bin folder.
    const QString dir =
        qEnvironmentVariable("KALVINTOR_PROGRAM_DIR", QCoreApplication::applicationDirPath() + "/../bin");
    kalvintor::ui::program().paths.programDir = dir.toStdString();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
