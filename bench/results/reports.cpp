// Results benchmarks, offscreen: the results view of a student with 5,000 sessions filled and
// painted, and a report of a class of 30 students with 500 sessions each written as PDF.
#include "app/TKalvintorMain.h"
#include "data/DataStore.h"
#include "records/DateTime.h"
#include "results/ReportPainter.h"
#include "results/TUserResult.h"
#include "sound/RecordingMidi.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QBuffer>
#include <QPdfWriter>
#include <QTableView>
#include <QTemporaryDir>

#include <chrono>
#include <cmath>
#include <cstdlib>

namespace {

using namespace kalvintor;
using Clock = std::chrono::steady_clock;

data::ResultRecord session(std::int16_t user, double start, int k) {
    data::ResultRecord r;
    r.userId = user;
    r.exercise = 2;
    r.sessionStart = start;
    r.duration = 0.008;
    r.answerTime = 0.003;
    r.setupName = "Intermediate";
    for (int entry = 2; entry <= 13; ++entry) {
        const auto asked = static_cast<std::uint16_t>(2 + (entry + k) % 3);
        r.itemStats[static_cast<std::size_t>(entry - 1)] = {
            static_cast<std::uint16_t>(asked - (k + entry) % 2), asked};
        r.correct =
            static_cast<std::uint16_t>(r.correct + r.itemStats[static_cast<std::size_t>(entry - 1)].correct);
        r.questions = static_cast<std::uint16_t>(r.questions + asked);
    }
    return r;
}

// A data directory of `users` students in class 1 with `sessions` sessions each.
void fillSchool(data::DataStore& store, int users, int sessions) {
    data::ClassRecord c;
    c.className = "Bench";
    c.classId = 1;
    store.SaveClass(c);
    const double today = std::floor(records::nowLocal());
    for (int u = 0; u < users; ++u) {
        data::UserRecord user;
        user.userId = static_cast<std::int16_t>(u + 2);
        user.loginName = "user" + std::to_string(u);
        user.fullName = data::joinFullName("Student", "Number" + std::to_string(u));
        user.classId = 1;
        store.SaveUser(user);
        for (int k = 0; k < sessions; ++k)
            store.AppendResult(session(user.userId, today - 2 + k * 0.001 / sessions, k));
    }
    store.LoadClasses();
    store.LoadUsers();
}

void BM_ResultsFill(benchmark::State& state) {
    QTemporaryDir dir;
    data::DataStore store(dir.path().toStdString() + "/");
    fillSchool(store, 1, 5000);
    store.setSelectedUser(store.UserList().front().get());
    ui::TKalvintorMain main(nullptr, std::make_unique<sound::RecordingMidiSystem>());
    main.Store = &store;
    main.AccessRights.fill(true);
    ui::TUserResult window(main);
    window.resize(1180, 700);
    double total = 0;
    for (auto _ : state) {
        store.LoadResults(0);  // the view reads the file again, as for another user
        const auto start = Clock::now();
        window.ShowResults(2, -1);
        benchmark::DoNotOptimize(window.DrawGrid1->grab());
        total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    state.counters["results_fill_ms"] = total / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ResultsFill)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReportPdf(benchmark::State& state) {
    QTemporaryDir dir;
    data::DataStore store(dir.path().toStdString() + "/");
    fillSchool(store, 30, 500);
    results::ReportRequest request{results::ReportUsers::Class, 1, {2}, "7"};
    double total = 0;
    int pages = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        const auto report = results::BuildReport(store, request, records::nowLocal(), {});
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        {
            QPdfWriter pdf(&out);
            pdf.setResolution(300);
            pages = ui::PaintReport(*report, pdf);
        }
        total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    state.counters["report_pdf_ms"] = total / static_cast<double>(state.iterations());
    state.counters["report_pages"] = pages;
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
