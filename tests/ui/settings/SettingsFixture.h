// A main window on a recording MIDI system with two outputs, a data directory of its own and a
// language folder with two languages, for the menu and settings tests.
#pragma once

#include "../app/ExerciseTestDoubles.h"
#include "app/MainSound.h"
#include "app/MainStartup.h"
#include "app/Program.h"
#include "app/ResultCommands.h"
#include "app/TKalvintorMain.h"
#include "app/Texts.h"
#include "data/DataStore.h"
#include "sound/RecordingMidi.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace kalvintor::ui::testing {

inline std::unique_ptr<sound::RecordingMidiSystem> twoOutputs() {
    auto system = std::make_unique<sound::RecordingMidiSystem>();
    system->outputNames = {"Second synthesizer", "Broken synthesizer"};
    system->failingOutputIds = {1};  // "Broken synthesizer"
    return system;
}

// A results window that records which of its commands ran.
class RecordingResults final : public QWidget, public InfoView, public ResultCommands {
public:
    QStringList calls;
    QWidget* widget() override { return this; }
    void ShowView(int exercise) override { calls << QString("show %1").arg(exercise); }
    void OpenReports(int exercise) override { calls << QString("reports %1").arg(exercise); }
    void OpenTransfer() override { calls << "transfer"; }
    void DeleteResults() override { calls << "delete"; }
};

// Gives the main window a level's access as the login does.
inline void setLevel(TKalvintorMain& main, int level) {
    main.Access = app::AccessFor(level, {});
    main.Guest = main.Access.guest;
    main.AccessRights = main.Access.rights;
    main.ApplyMenuAccess();
}

struct SettingsShell {
    explicit SettingsShell(std::unique_ptr<sound::RecordingMidiSystem> system = twoOutputs())
        : recording(system.get()), main(nullptr, std::move(system)) {
        const QString languages = dir.path() + "/Language";
        QDir().mkpath(languages);
        QDir().mkpath(dir.path() + "/Data");
        QFile::copy(toQString(program().paths.languageDir / "English.LAN"), languages + "/English.LAN");
        QFile::copy(toQString(program().paths.languageDir / "English.HLP"), languages + "/English.HLP");
        QFile test(languages + "/Testish.LAN");
        test.open(QIODevice::WriteOnly);
        test.write("5=Fil\n70=Valg\n100=Programindstillinger\n");
        test.close();
        savedLanguageDir = program().paths.languageDir;
        program().paths.languageDir = toPath(languages + "/");
        LoadLanguage(languages + "/English.LAN", language::kLoadAll, nullptr);
        // An administrator (id 7) logged in to a data directory with one class.
        auto owned = std::make_unique<data::DataStore>(toPath(dir.path() + "/Data/"));
        data::UserRecord admin;
        admin.userId = 7;
        admin.accessLevel = data::kAdministrator;
        admin.loginName = "admin";
        admin.fullName = std::string("Ada") + char(0xA7) + "Admin";
        std::vector<std::size_t> taken;
        owned->AddUsers({admin}, taken);
        owned->SaveClass({"Choir", 3, 7, "\\"});
        owned->LoadClasses();
        owned->LoadUsers();
        owned->FindUser(7, {}, true);
        owned->setSelectedUser(owned->CurrentUser());
        store = owned.get();
        main.startup().store = std::move(owned);
        main.startup().dataUsable = true;
        main.Store = store;
        main.ApplyResultPeriod();
        main.UserId = 7;
        setLevel(main, app::kLevelAdministrator);
        main.sound().ApplySettings();
        exercise = new RecordingExercise(1, main);
        main.SetExerciseWindow(1, exercise);
        main.CreateMenuDialog();
    }
    ~SettingsShell() {
        LoadLanguage(toQString(savedLanguageDir / "English.LAN"), language::kLoadAll, nullptr);
        program().paths.languageDir = savedLanguageDir;
    }

    QTemporaryDir dir;
    sound::RecordingMidiSystem* recording;
    TKalvintorMain main;
    data::DataStore* store = nullptr;
    std::filesystem::path savedLanguageDir;
    RecordingExercise* exercise = nullptr;
};

// The name of the output device open now.
inline std::string openedOutput(TKalvintorMain& main) {
    for (const auto& entry : main.sound().midiOut().Devices())
        if (main.sound().midiOut().Opened() && entry.id == main.sound().midiOut().OpenedId())
            return entry.name;
    return {};
}

// Runs `act` on the next modal window once it is shown (message boxes included).
inline void whenModal(std::function<void(QWidget*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(10);
}

// Runs `act` on the next modal window of class T.
template <typename T>
void whenModalOf(std::function<void(T*)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            act(modal);
        }
    });
    poll->start(10);
}

// Answers every message box that comes up with its default button, and counts them.
struct MessageBoxes {
    MessageBoxes() {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w);
                    box && box->isVisible() && !box->property("answered").toBool()) {
                    box->setProperty("answered", true);
                    texts << box->text();
                    QTimer::singleShot(0, box, [box] { box->done(QMessageBox::No); });
                }
        });
        timer.start();
    }
    QTimer timer;
    QStringList texts;
};

}  // namespace kalvintor::ui::testing
