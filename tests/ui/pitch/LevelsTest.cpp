// The setup chooser and the "Save setup..." dialog on real directories.
#include "app/Program.h"
#include "app/TLevels.h"
#include "app/TSaveSetupDialog.h"
#include "core/setup/SetupFolders.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <fstream>

using namespace kalvintor::ui;
namespace fs = std::filesystem;

namespace {

class SetupFolders : public kalvintor::testing_support::SetupFolders {
protected:
    static QStringList labels(const TLevels& dialog) {
        QStringList result;
        for (int i = 0; i < dialog.list()->count(); ++i) result << dialog.list()->item(i)->text();
        return result;
    }
    static void clickRow(TLevels& dialog, int row, bool twice = false) {
        QListWidget* list = dialog.list();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
};

}  // namespace

TEST_F(SetupFolders, TheChooserListsProgramAndPersonalSetupsAndLoadsTheFileItListed) {
    touch(program / "Basic.LVS");
    touch(program / "Low.Test.LVS");
    touch(personal / "Basic.LVS");
    TLevels dialog(program, personal);
    dialog.show();
    EXPECT_EQ(labels(dialog), (QStringList{"*Basic", "Basic", "Low"}));
    EXPECT_TRUE(dialog.personalNote()->isVisible());
    EXPECT_EQ(dialog.personalNote()->text(), "* = personal setup files");
    EXPECT_FALSE(dialog.okButton()->isEnabled());

    clickRow(dialog, 2);
    EXPECT_TRUE(dialog.okButton()->isEnabled());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_TRUE(dialog.chosenFile());
    EXPECT_EQ(toPath(*dialog.chosenFile()), program / "Low.Test.LVS");

    // Shown again: the list is read afresh and nothing is chosen.
    touch(program / "Advanced.lvs");
    dialog.show();
    EXPECT_EQ(labels(dialog), (QStringList{"*Basic", "Advanced", "Basic", "Low"}));
    EXPECT_FALSE(dialog.chosenFile());
    clickRow(dialog, 0, true);  // a double click acts as OK
    ASSERT_TRUE(dialog.chosenFile());
    EXPECT_EQ(toPath(*dialog.chosenFile()), personal / "Basic.LVS");
}

TEST_F(SetupFolders, WithoutPersonalSetupsTheNoteIsHidden) {
    touch(program / "Basic.lvs");
    for (const fs::path& setupDir : {personal, program}) {
        TLevels dialog(program, setupDir);
        dialog.show();
        EXPECT_EQ(labels(dialog), QStringList{"Basic"});
        EXPECT_FALSE(dialog.personalNote()->isVisible());
    }
}

TEST_F(SetupFolders, OtherOpensTheFileDialogInThePersonalFolder) {
    TLevels dialog(program, personal);
    QString offeredDir;
    QString answer;
    dialog.openOtherFile = [&](QWidget*, const QString& dir) {
        offeredDir = dir;
        return answer;
    };
    dialog.show();
    QTest::mouseClick(dialog.otherButton(), Qt::LeftButton);  // cancelled
    EXPECT_EQ(toPath(offeredDir), personal);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.chosenFile());

    answer = toQString(root / "elsewhere.lvs");
    QTest::mouseClick(dialog.otherButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenFile(), answer);
}

TEST_F(SetupFolders, SavingAddsTheExtensionAndAsksBeforeReplacing) {
    TSaveSetupDialog dialog(personal, toQString(program / "Basic.lvs").toStdString());
    EXPECT_EQ(dialog.windowTitle(), "Save Exercise Setup");
    EXPECT_EQ(dialog.selectedFiles().value(0), toQString(personal / "Basic.lvs"))
        << "the current name, its folder dropped";

    QStringList asked;
    bool replace = false;
    dialog.confirmOverwrite = [&](const QString& file) {
        asked << file;
        return replace;
    };
    dialog.selectFile("Mine");
    EXPECT_EQ(dialog.fileToSave(), toQString(personal / "Mine.lvs"));
    EXPECT_TRUE(asked.isEmpty());

    touch(personal / "Mine.lvs");
    EXPECT_FALSE(dialog.fileToSave()) << "the user keeps the file";
    replace = true;
    EXPECT_EQ(dialog.fileToSave(), toQString(personal / "Mine.lvs"));
    EXPECT_EQ(asked, (QStringList{toQString(personal / "Mine.lvs"), toQString(personal / "Mine.lvs")}));
}
