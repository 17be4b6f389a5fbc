// Reports saved as PDF, read back with the poppler tools; moving a user between two data
// directories through the import/export dialog.
#include "ResultsFixtureUi.h"
#include "data/DataStore.h"
#include "results/TExportImport.h"
#include "results/TReports.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>

using namespace kalvintor;
using namespace kalvintor::ui;
using namespace kalvintor::results::testing_support;

namespace {

QString run(const char* program, const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLatin1(program), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

TEST(Reports, AClassOfSixtyToPdfWithEveryNameAndPercentage) {
    const fs::path dir = freshDir();
    data::DataStore store(dir, {}, quickCallbacks());
    ClassRecord c;
    c.className = "Choir";
    c.classId = 1;
    ASSERT_TRUE(store.SaveClass(c));
    const double today = std::floor(records::nowLocal());
    for (int i = 0; i < 60; ++i) {
        const auto id = static_cast<std::int16_t>(i + 2);
        UserRecord u = user(id, "s" + std::to_string(i), "Student", "Number" + std::to_string(100 + i));
        u.classId = 1;
        ASSERT_TRUE(store.SaveUser(u));
        // Two sessions each: i of 60 and 30 of 60 right, so the total is (i + 30) of 120.
        ASSERT_TRUE(store.AppendResult(result(id, 3, today - 1 + 0.3, static_cast<std::uint16_t>(i), 60)));
        ASSERT_TRUE(store.AppendResult(result(id, 3, today - 2 + 0.3, 30, 60)));
    }
    store.LoadClasses();
    store.LoadUsers();

    TReports dialog(store, true, 3);
    dialog.RadioButton2->setChecked(true);
    dialog.ComboBox2->setCurrentIndex(0);
    const QString pdf = QString::fromStdString((dir / "class.pdf").string());
    ASSERT_TRUE(dialog.SavePdf(pdf));

    const QString info = run(KALVINTOR_PDFINFO, {pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch()) << info.toStdString();
    // 60 users of 2 sessions with totals and a chart each take several pages, none of them empty.
    EXPECT_GE(pages.captured(1).toInt(), 6);
    EXPECT_LE(pages.captured(1).toInt(), 40);
    const QString textOfPdf = run(KALVINTOR_PDFTOTEXT, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(textOfPdf.contains("Results report"));
    EXPECT_TRUE(textOfPdf.contains("Class: Choir"));
    for (int i = 0; i < 60; ++i) {
        const QString name = QStringLiteral("Number%1").arg(100 + i);
        EXPECT_TRUE(textOfPdf.contains(name)) << name.toStdString();
    }
    // Student 59's total: 89 of 120 is 74 %.
    EXPECT_TRUE(textOfPdf.contains(QRegularExpression(QStringLiteral("89 /\\s+120\\s+74%"))))
        << textOfPdf.left(3000).toStdString();
    EXPECT_TRUE(textOfPdf.contains(QStringLiteral("Page 1 of %1").arg(pages.captured(1))));
}

TEST(Reports, AFolderThatCannotBeWrittenIsToldAndNothingIsLeft) {
    const fs::path dir = freshDir();
    data::DataStore store(dir, {}, quickCallbacks());
    ASSERT_TRUE(store.SaveUser(user(2, "ada", "Ada", "Lind")));
    store.LoadUsers();
    store.setSelectedUser(store.UserList().front().get());
    TReports dialog(store, false, 1);
    kalvintor::ui::testing::BoxAnswerer answerer(QMessageBox::Ok);
    EXPECT_FALSE(dialog.SavePdf(QString::fromStdString((dir / "missing" / "r.pdf").string())));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts.front().contains("could not be saved"))
        << answerer.texts.front().toStdString();
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(ExportImport, AUserMovesHomeAndBackWithoutDuplicates) {
    const fs::path school = freshDir("-school");
    const fs::path home = freshDir("-home");
    const fs::path stick = freshDir("-stick");
    data::DataStore schoolStore(school, {}, quickCallbacks());
    data::DataStore homeStore(home, {}, quickCallbacks());
    ASSERT_TRUE(schoolStore.SaveUser(user(2, "ada", "Ada", "Lind")));
    ASSERT_TRUE(homeStore.SaveUser(user(5, "ada", "Ada", "Lind")));
    ASSERT_TRUE(schoolStore.AppendResult(result(2, 1, 46000.25)));
    ASSERT_TRUE(schoolStore.AppendResult(result(2, 2, 46001.25)));
    ASSERT_TRUE(homeStore.AppendResult(result(5, 3, 45999.5)));
    for (data::DataStore* s : {&schoolStore, &homeStore}) {
        s->LoadUsers();
        s->setSelectedUser(s->UserList().front().get());
    }

    TKalvintorMain main{nullptr, kalvintor::ui::testing::quietSound()};
    main.AccessRights.fill(true);
    kalvintor::ui::testing::BoxAnswerer answerer(QMessageBox::Yes);
    {
        TExportImport dialog(main, schoolStore);
        dialog.Edit1->setText(QString::fromStdString(stick.string()));
        ASSERT_TRUE(dialog.Export());
    }
    EXPECT_TRUE(fs::exists(stick / "exuser.dx4"));
    EXPECT_TRUE(fs::exists(stick / "exresult.dx4"));
    for (int twice = 0; twice < 2; ++twice) {
        TExportImport dialog(main, homeStore);
        dialog.Edit1->setText(QString::fromStdString(stick.string()));
        ASSERT_TRUE(dialog.Import());
    }
    homeStore.LoadResults(5);
    ASSERT_EQ(homeStore.ResultList().size(), 3u) << "the two school sessions once, beside the home one";
    for (const auto& r : homeStore.ResultList()) EXPECT_EQ(r->record.userId, 5);
}

TEST(ExportImport, AFolderOfGarbageImportsNothing) {
    const fs::path home = freshDir("-home");
    const fs::path stick = freshDir("-stick");
    writeBytes(stick / "exuser.dx4", "not a user record");
    data::DataStore store(home, {}, quickCallbacks());
    ASSERT_TRUE(store.SaveUser(user(5, "ada", "Ada", "Lind")));
    store.LoadUsers();
    store.setSelectedUser(store.UserList().front().get());
    TKalvintorMain main{nullptr, kalvintor::ui::testing::quietSound()};
    kalvintor::ui::testing::BoxAnswerer answerer(QMessageBox::Yes);
    TExportImport dialog(main, store);
    dialog.Edit1->setText(QString::fromStdString(stick.string()));
    EXPECT_FALSE(dialog.Import());
    ASSERT_FALSE(answerer.texts.isEmpty());
    store.LoadResults(5);
    EXPECT_TRUE(store.ResultList().empty());
}
