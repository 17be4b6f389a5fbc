// A bare Qt Widgets program for the start-up benchmark: a QMainWindow shown maximised; prints the
// milliseconds from its launch (steady clock nanoseconds given as its argument) to its first paint,
// and its resident memory in MB.
#include "ResidentMemory.h"

#include <QApplication>
#include <QMainWindow>

#include <chrono>
#include <iostream>
#include <string>

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at == 0 && event->type() == QEvent::Paint && watched->isWidgetType()) at = nowNs();
        return false;
    }
    std::int64_t at = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 1;
    const std::int64_t launched = std::stoll(argv[1]);
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    FirstPaint paint;
    application.installEventFilter(&paint);
    QMainWindow window;
    window.showMaximized();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (paint.at == 0 && std::chrono::steady_clock::now() < deadline)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (paint.at == 0) return 3;
    std::cout << static_cast<double>(paint.at - launched) / 1e6 << ' ' << kalvintor::bench::residentMb()
              << std::endl;
    return 0;
}
