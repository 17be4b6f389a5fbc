// The main window's creation: directories, machine values, start-up state, pictures; LoadLanguage.
#include "ExerciseTestDoubles.h"
#include "app/MachineSettingsFile.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

using namespace kalvintor::ui;

namespace {

// Points the program at a machine settings file of the test's own for the life of the object.
class MachineFile {
public:
    explicit MachineFile(const QString& contents, bool create = true) {
        path_ = dir_.filePath("machine.ini");
        if (create) {
            QFile f(path_);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(contents.toUtf8());
        }
        previous_ = qgetenv("KALVINTOR_MACHINE_SETTINGS");
        qputenv("KALVINTOR_MACHINE_SETTINGS", path_.toUtf8());
    }
    ~MachineFile() { qputenv("KALVINTOR_MACHINE_SETTINGS", previous_); }
    QString path() const { return path_; }
    QString dir() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString path_;
    QByteArray previous_;
};

QString readBack(const QString& file, const QString& key) {
    return QSettings(file, QSettings::IniFormat).value(key).toString();
}

// Accepts the next message box and hands back its text.
QString acceptNextMessageBox(const std::function<void()>& action) {
    QString seen;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->windowTitle() + "|" + box->text();
            box->accept();
        }
    });
    action();
    return seen;
}

}  // namespace

TEST(MainWindow, FirstStartWritesFalseIntoTheExistingKey) {
    MachineFile machine("[4.0]\nFirsttime=TRUE\n[MIDI]\nSyncrodelay=0\n");
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_TRUE(program().firstRun);
    EXPECT_EQ(readBack(machine.path(), "4.0/Firsttime"), "FALSE");

    TKalvintorMain again(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_FALSE(program().firstRun);
}

TEST(MainWindow, MissingMachineSettingsLeaveTheDefaultsAndCreateNothing) {
    MachineFile machine("", false);
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_TRUE(program().firstRun);
    EXPECT_FALSE(QFile::exists(machine.path()));
    EXPECT_EQ(program().paths.dataPath, program().paths.programDir / "Data/");
}

TEST(MainWindow, DataPathFromTheMachineSettingsWhenItExists) {
    QTemporaryDir data;
    MachineFile machine(QString("[4.0]\nFirsttime=FALSE\nDatapath=%1\n").arg(data.path()));
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_EQ(toQString(program().paths.dataPath), data.path() + "/");

    MachineFile missing("[4.0]\nFirsttime=FALSE\nDatapath=/no/such/kalvintor/dir\n");
    TKalvintorMain second(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_EQ(program().paths.dataPath, program().paths.programDir / "Data/");
}

TEST(MainWindow, GarbageMachineSettingsLeaveTheDefaults) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) % 256);
    for (const QByteArray& contents : {garbage, QByteArray("[4.0"), QByteArray("[4.0]\nFirsttime")}) {
        MachineFile machine(QString::fromLatin1(contents));
        TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
        EXPECT_TRUE(program().firstRun);
        EXPECT_EQ(program().paths.dataPath, program().paths.programDir / "Data/");
    }
}

TEST(MainWindow, KeysAreNeverCreated) {
    MachineFile machine("[Other]\nx=1\n");
    MachineSettingsFile file(machine.path());
    EXPECT_FALSE(file.keyExists("4.0"));
    EXPECT_FALSE(file.writeValue("4.0", "Firsttime", "FALSE"));
    EXPECT_FALSE(QSettings(machine.path(), QSettings::IniFormat).childGroups().contains("4.0"));
    EXPECT_EQ(file.readValue("Other", "x"), "1");
}

TEST(MainWindow, CaptionStartUpStateAndPictures) {
    MachineFile machine("", false);
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    EXPECT_EQ(main.windowTitle(), "Kalvintor School");
    EXPECT_TRUE(main.FirstShow);
    EXPECT_FALSE(main.LoginDone);
    EXPECT_FALSE(main.Guest);
    EXPECT_EQ(main.CurrentExercise, 0);
    EXPECT_EQ(main.CurrentView, 1);
    for (bool right : main.AccessRights) EXPECT_FALSE(right);
    EXPECT_EQ(program().paths.languageDir, program().paths.programDir / "Language/");
    EXPECT_EQ(program().paths.defaultSetupFile, program().paths.programDir / "Default_level.lvs");

    const auto& lists = imageLists();  // drawn on first use
    EXPECT_EQ(lists.controlButtonImageList.cellSize, QSize(125, 38));
    EXPECT_EQ(lists.controlButtonImageList.count(), 4);
    EXPECT_EQ(lists.rhythmResultPict.count(), 5);
    EXPECT_EQ(lists.imageList1.cellSize, QSize(45, 44));
    EXPECT_EQ(lists.imageList1.count(), 3);
    for (int n : {5, 6, 7, 10, 12, 13, 14}) EXPECT_EQ(main.cursor(n).shape(), Qt::BitmapCursor) << n;

    // The MIDI devices: output entry 1 stands in the mapper's place; the input table ends with
    // the bracketed "none". The ten session results start empty.
    EXPECT_EQ(main.sound().midiOut().Devices().front().name, "Recording synthesizer");
    EXPECT_EQ(main.sound().midiIn().Devices().back().name, "(none)");
    for (int e = 1; e <= 10; ++e)
        EXPECT_EQ(main.SessionResults[static_cast<std::size_t>(e)].record.questions, 0);
}

TEST(MainWindow, LowColourDisplaysGetTheLowColourMetronome) {
    const auto high = makeImageLists(true, 1.0).imageList1.cells[0].toImage();
    const auto low = makeImageLists(false, 1.0).imageList1.cells[0].toImage();
    EXPECT_NE(high, low);
    EXPECT_EQ(low.size(), QSize(45, 44));
}

TEST(MainWindow, ShowMaximizedMakesAChildTheCurrentView) {
    MachineFile machine("", false);
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    auto* view = new QLabel("view");
    main.ShowMaximized(view);
    EXPECT_EQ(main.views()->currentWidget(), view);
}

TEST(MainWindow, FirstShowLoadsTheLanguageAndHidesTheWelcome) {
    MachineFile machine("", false);
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    main.show();
    EXPECT_FALSE(main.FirstShow);
    EXPECT_EQ(program().helpFile, toQString(program().paths.languageDir / "English.HLP"));
}

TEST(LoadLanguage, AMissingFileShowsTheErrorBoxAndChangesNothing) {
    MachineFile machine("", false);
    TKalvintorMain main(nullptr, kalvintor::ui::testing::quietSound());
    const QString before = text(95, "design");
    QString seen = acceptNextMessageBox([&] {
        EXPECT_FALSE(LoadLanguage(machine.dir() + "/Suomi.LAN", kalvintor::language::kLoadAll, &main));
    });
    EXPECT_EQ(seen, "Error|File does not exist:\n\n" + machine.dir() + "/Suomi.LAN");
    EXPECT_EQ(text(95, "design"), before);
}

TEST(MainWindow, TheCatalogueNamesFollowEveryLanguageLoadForTheWindowsLife) {
    MachineFile machine("", false);
    auto main = std::make_unique<TKalvintorMain>(nullptr, kalvintor::ui::testing::quietSound());
    main->Settings.language = "Dansk";
    program().language.apply({{3000, "Dur"}}, kalvintor::language::kLoadAll);
    EXPECT_EQ(main->Catalogue.catalogue.inversions().entry(2).name, "Dur 1.inv");
    EXPECT_EQ(main->Catalogue.catalogue.languageTag, "Dansk");
    main->Settings.language = "English";
    program().language.apply({{3000, "Major"}}, kalvintor::language::kLoadAll);
    EXPECT_EQ(main->Catalogue.catalogue.inversions().entry(3).name, "Major 2.inv");
    EXPECT_EQ(main->Catalogue.catalogue.languageTag, "English");
    main.reset();
    program().language.apply({{3000, "Dur"}}, kalvintor::language::kLoadAll);  // no window left to name
}
