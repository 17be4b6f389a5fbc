// The program's start-up against a bare Qt Widgets window, on a school of 2,000 users whose
// administrator is the process owner (so he logs in without a dialog and the teacher windows are
// made). Two measures:
//  - BM_LaunchToFirstPaint: whole processes, launched afresh each time, alternately a bare
//    QMainWindow program (bench_startup_bare) and the program's windows as the entry makes them (welcome
//    window, main window with every exercise window, the whole start-up dialogue): from the launch to the
//    first paint of its first window (the welcome window) and of the main window, and the resident
//    memory once the program has started: every window made, the synthesizer set up.
//  - BM_MainWindowFirstShow against BM_BareMainWindow: in this process, once Qt is loaded, the
//    main window made and shown through the start-up dialogue to its first paint.
// Everything runs on the offscreen platform.
#include "ProgramWindows.h"
#include "ResidentMemory.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/SingleInstance.h"
#include "app/TKalvintorMain.h"
#include "app/TVelkommen.h"
#include "data/CommonRecord.h"
#include "data/UserRecord.h"
#include "settings/SettingRecord.h"
#include "users/UserTexts.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace kalvintor;
using Clock = std::chrono::steady_clock;

constexpr int kUsers = 2000;
constexpr int kLaunches = 7;
constexpr auto kPaintDeadline = std::chrono::seconds(30);

double bareSeconds = 0;

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count();
}

// Notes the first paint of any widget of one window, or of any window at all.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(const QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~FirstPaint() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (at_ == 0 && event->type() == QEvent::Paint) {
            const auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && (window_ == nullptr || widget->window() == window_)) at_ = nowNs();
        }
        return false;
    }
    std::int64_t At() const { return at_; }
    // Lets events run until the window has painted; its time, or 0 past the deadline.
    std::int64_t Wait() const {
        const auto deadline = Clock::now() + kPaintDeadline;
        while (at_ == 0 && Clock::now() < deadline) QApplication::processEvents(QEventLoop::AllEvents, 5);
        return at_;
    }

private:
    const QWidget* window_;
    std::int64_t at_ = 0;
};

// A school of kUsers users; the process owner is its administrator.
class School {
public:
    School() {
        const QString data = root_.filePath("Data");
        QDir().mkpath(data);
        QByteArray users;
        for (int i = 0; i < kUsers; ++i) {
            data::UserRecord r;
            r.userId = static_cast<std::int16_t>(i + 2);
            r.loginName = i == kUsers / 2 ? ui::systemUserName().toStdString() : "USER" + std::to_string(i);
            r.fullName = data::joinFullName("First" + std::to_string(i), "Last");
            r.accessLevel = i == kUsers / 2 ? data::kAdministrator : data::kStudent;
            r.setupFile =
                (qEnvironmentVariable("KALVINTOR_PROGRAM_DIR") + "/Default_level.lvs").toStdString();
            const auto bytes = data::encodeUserRecord(r);
            users.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        }
        write(data + "/User.dat", users);
        data::CommonRecord common;
        common.nextUserId = kUsers + 2;
        const auto bytes = data::encodeCommonRecord(common);
        write(data + "/Common.dat",
              QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        // A workstation set up before: the configuration wizard and the tips at start are done.
        settings::Settings shared = settings::defaultSettings();
        shared.key = 1;
        shared.wizardDone = true;
        shared.tipsToShow = 0;
        const auto setting = settings::encodeSettings(shared);
        write(data + "/Setting.dat", QByteArray(reinterpret_cast<const char*>(setting.data()),
                                                static_cast<qsizetype>(setting.size())));
        const QString machine = root_.filePath("kalvintor.ini");
        write(machine, QStringLiteral("[4.0]\nFirsttime=FALSE\nDatapath=%1/\n[MIDI]\n").arg(data).toUtf8());
        qputenv("KALVINTOR_MACHINE_SETTINGS", machine.toUtf8());
    }

private:
    static void write(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
    }
    QTemporaryDir root_;
};

// The program as its entry starts it, up to the main window's first paint.
struct ProgramStart {
    ProgramStart() {
        welcome = std::make_unique<ui::TVelkommen>();
        ui::program().welcome = welcome.get();
        welcome->show();
        welcome->repaint();
        QApplication::processEvents();
        main = std::make_unique<ui::TKalvintorMain>();
        ui::CreateProgramWindows(*main);
        main->StartupDialogue = true;
    }
    ~ProgramStart() {
        main.reset();
        ui::program().welcome = nullptr;
    }
    std::unique_ptr<ui::TVelkommen> welcome;
    std::unique_ptr<ui::TKalvintorMain> main;
};

// The launched child: the program up to its main window's first paint; prints the milliseconds
// since the launch to its first window (the welcome window) and to the main window's first paint,
// and the resident memory once it has started.
int runChild(std::int64_t launchedNs, int argc, char** argv) {
    QApplication application(argc, argv);
    ui::SingleInstance instance;
    if (instance.activateRunningInstance()) return 2;
    QApplication::setApplicationName(QStringLiteral("Kalvintor"));
    const FirstPaint firstWindow(nullptr);
    ProgramStart start;
    const FirstPaint paint(start.main.get());
    start.main->showMaximized();
    const std::int64_t at = paint.Wait();
    if (at == 0 || start.main->Guest) return 3;
    // Whatever the start queued for after the first paint runs before memory is read: every
    // window of the program is made and the synthesizer is set up by then.
    const auto settle = Clock::now() + std::chrono::milliseconds(300);
    while (Clock::now() < settle ||
           (!start.main->sound().SynthReady() && Clock::now() < settle + kPaintDeadline))
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    start.main->CreateDeferredWindows();
    std::cout << static_cast<double>(firstWindow.At() - launchedNs) / 1e6 << ' '
              << static_cast<double>(at - launchedNs) / 1e6 << ' ' << bench::residentMb() << std::endl;
    return 0;
}

struct Launch {
    double firstWindowMs = 0;
    double firstPaintMs = 0;
    double residentMb = 0;
};

// Launches the bare window program or this program as the child that starts the program.
std::optional<Launch> launch(bool bare) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const QString dir = QCoreApplication::applicationDirPath();
    const std::int64_t at = nowNs();
    if (bare) {
        child.start(dir + "/bench_startup_bare", {QString::number(at)});
    } else {
        child.start(QCoreApplication::applicationFilePath(), {"--child", "program", QString::number(at)});
    }
    if (!child.waitForFinished(60000) || child.exitCode() != 0) {
        std::cerr << (bare ? "bench_startup_bare" : "the program") << " failed (exit code "
                  << child.exitCode() << "): " << child.readAllStandardError().toStdString() << std::endl;
        return std::nullopt;
    }
    Launch l;
    std::istringstream out(child.readAllStandardOutput().toStdString());
    // The bare window is its own first window.
    if (bare) {
        out >> l.firstPaintMs >> l.residentMb;
        l.firstWindowMs = l.firstPaintMs;
    } else {
        out >> l.firstWindowMs >> l.firstPaintMs >> l.residentMb;
    }
    return l;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void BM_LaunchToFirstPaint(benchmark::State& state) {
    School school;
    std::vector<double> bare, program, firstWindow, bareMemory, programMemory;
    for (auto _ : state) {
        for (int i = 0; i < kLaunches; ++i) {
            const auto b = launch(true);
            const auto p = launch(false);
            if (!b || !p) {
                state.SkipWithError("a launched program did not paint its window (or logged in as a guest)");
                return;
            }
            bare.push_back(b->firstPaintMs);
            bareMemory.push_back(b->residentMb);
            program.push_back(p->firstPaintMs);
            firstWindow.push_back(p->firstWindowMs);
            programMemory.push_back(p->residentMb);
        }
    }
    state.counters["launch_to_first_window_ms"] = median(firstWindow);
    state.counters["first_window_ratio_to_bare"] = median(firstWindow) / median(bare);
    state.counters["launch_to_first_paint_ms"] = median(program);
    state.counters["bare_launch_to_first_paint_ms"] = median(bare);
    state.counters["launch_ratio_to_bare"] = median(program) / median(bare);
    state.counters["launch_ms_min"] = *std::min_element(program.begin(), program.end());
    state.counters["launch_ms_max"] = *std::max_element(program.begin(), program.end());
    state.counters["resident_mb"] = median(programMemory);
    state.counters["bare_resident_mb"] = median(bareMemory);
    state.counters["launches"] = kLaunches;
}
BENCHMARK(BM_LaunchToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

void BM_BareMainWindow(benchmark::State& state) {
    double total = 0;
    for (auto _ : state) {
        const std::int64_t start = nowNs();
        QMainWindow window;
        const FirstPaint paint(&window);
        window.showMaximized();
        total += static_cast<double>(paint.Wait() - start) / 1e9;
    }
    bareSeconds = total / static_cast<double>(state.iterations());
    state.counters["first_paint_ms"] = bareSeconds * 1000;
}
BENCHMARK(BM_BareMainWindow)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

void BM_MainWindowFirstShow(benchmark::State& state) {
    School school;
    double total = 0;
    for (auto _ : state) {
        const std::int64_t start = nowNs();
        ProgramStart program;
        const FirstPaint paint(program.main.get());
        program.main->showMaximized();
        const std::int64_t at = paint.Wait();
        total += static_cast<double>(at - start) / 1e9;
        if (at == 0 || program.main->Guest) {
            state.SkipWithError("the window did not paint, or the school's administrator was not logged in");
            return;
        }
        state.PauseTiming();
        program.main->hide();
        state.ResumeTiming();
    }
    const double mean = total / static_cast<double>(state.iterations());
    state.counters["first_paint_ms"] = mean * 1000;
    if (bareSeconds > 0) state.counters["ratio_to_bare"] = mean / bareSeconds;
}
BENCHMARK(BM_MainWindowFirstShow)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) {
        int childArgc = 1;
        return runChild(std::stoll(argv[3]), childArgc, argv);
    }
    // The program directory of the build unless one is given.
    if (qEnvironmentVariableIsEmpty("KALVINTOR_PROGRAM_DIR")) {
        const std::string dir = std::filesystem::path(argv[0]).parent_path().parent_path() / "bin";
        qputenv("KALVINTOR_PROGRAM_DIR", QByteArray::fromStdString(std::filesystem::canonical(dir).string()));
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
