// A made-up class of six students with three weeks of interval sessions, shown in the results view.
#include "ResultsShowcase.h"

#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "data/UserRecord.h"
#include "language/Language.h"
#include "records/DateTime.h"
#include "results/TClassTable.h"
#include "results/TReports.h"
#include "results/TUserResult.h"
#include "sound/RecordingMidi.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QPixmap>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>

#include <cmath>

namespace kalvintor::showcase {

namespace {

// A session of interval identification: the entries asked and how many were right, shaped so
// that seconds and sixths improve slowly while fifths and octaves are sure.
data::ResultRecord session(std::int16_t user, double start, int day, int talent) {
    data::ResultRecord r;
    r.userId = user;
    r.exercise = 2;
    r.sessionStart = start;
    r.duration = (9 + day % 5) / 1440.0;
    r.answerTime = r.duration * 0.4;
    r.setupName = day < 10 ? "Beginner" : "Intermediate";
    const int entries[] = {3, 4, 5, 6, 8, 9, 10, 13};
    for (int entry : entries) {
        const int asked = 3 + (entry + day) % 3;
        const int ease = entry == 8 || entry == 13 ? 95 : entry == 3 || entry == 9 ? 45 : 70;
        const int right = std::min(asked, asked * std::min(100, ease + day * 2 + talent) / 100);
        r.itemStats[static_cast<std::size_t>(entry - 1)] = {static_cast<std::uint16_t>(right),
                                                            static_cast<std::uint16_t>(asked)};
        r.correct = static_cast<std::uint16_t>(r.correct + right);
        r.questions = static_cast<std::uint16_t>(r.questions + asked);
    }
    return r;
}

}  // namespace

int ShowResults(const QString& pngFile, const QString& reportPdf, const QString& classPng) {
    const QString english = ui::languageFileName(QStringLiteral("English"));
    if (QFileInfo::exists(english)) ui::LoadLanguage(english, language::kLoadAll, nullptr);
    QTemporaryDir dir;
    data::DataStore store(dir.path().toStdString() + "/");
    data::ClassRecord c;
    c.className = "Year 2 ear training";
    c.classId = 1;
    store.SaveClass(c);
    const char* names[][2] = {{"Alma", "Berg"},  {"Jonas", "Holm"}, {"Mira", "Lund"},
                              {"Oskar", "Dahl"}, {"Saga", "Ek"},    {"Vidar", "Strand"}};
    const double today = std::floor(records::nowLocal());
    for (int i = 0; i < 6; ++i) {
        data::UserRecord u;
        u.userId = static_cast<std::int16_t>(i + 2);
        u.loginName = names[i][0];
        u.fullName = data::joinFullName(names[i][0], names[i][1]);
        u.classId = 1;
        store.SaveUser(u);
        for (int day = 0; day < 21; day += 2 + i % 2)
            store.AppendResult(session(u.userId, today - 21 + day + 0.6, day, i * 4 - 10));
    }
    store.LoadClasses();
    store.LoadUsers();
    store.StatisticsPeriod = 7;
    for (const auto& u : store.UserList())
        if (u->record.userId == 2) store.setSelectedUser(u.get());

    ui::TKalvintorMain main(nullptr, std::make_unique<sound::RecordingMidiSystem>());
    main.Store = &store;
    main.AccessRights.fill(true);
    auto* results = new ui::TUserResult(main);
    main.SetInfoView(3, results);
    main.resize(1180, 760);
    main.show();
    main.SelectView(0, 1);
    results->ShowResults(2, -1);
    main.ShowMaximized(results);
    results->SpeedButton4->setChecked(true);
    results->SpeedButton2->setChecked(false);
    results->SpeedButton6->setChecked(false);
    QApplication::processEvents();

    if (!reportPdf.isEmpty()) {
        ui::TReports reports(store, true, 2);
        reports.RadioButton2->setChecked(true);
        reports.ComboBox2->setCurrentIndex(0);
        if (!reports.SavePdf(reportPdf)) return 1;
    }
    if (!classPng.isEmpty()) {
        ui::TClassTable table(store, main.catalogue(), 2);
        table.resize(620, 420);
        table.show();
        QApplication::processEvents();
        if (!table.grab().save(classPng)) return 1;
    }
    if (!pngFile.isEmpty()) return main.grab().save(pngFile) ? 0 : 1;
    return QApplication::exec();
}

}  // namespace kalvintor::showcase
