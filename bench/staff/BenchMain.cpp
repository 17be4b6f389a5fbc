// The staff benchmarks run with a Qt application on the offscreen platform and the program
// directory of the build, where the music font is.
#include "app/Program.h"

#include <benchmark/benchmark.h>
#include <QApplication>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    kalvintor::ui::program().paths =
        kalvintor::app::makeProgramPaths(kalvintor::ui::toPath(QStringLiteral(KALVINTOR_BENCH_PROGRAM_DIR)));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
