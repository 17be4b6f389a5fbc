// A school's installation for tests: a data directory, a machine settings file naming it, and a
// main window with the interval comparison exercise that runs the whole start-up dialogue.
#pragma once

#include "ModalScript.h"
#include "app/MainSound.h"
#include "app/Program.h"
#include "app/TKalvintorMain.h"
#include "app/ViewTags.h"
#include "data/DataStore.h"
#include "pitch/TIntervalSam.h"
#include "sound/RecordingMidi.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <memory>

namespace kalvintor::ui::testing {

class School {
public:
    School() : data(root.filePath("Data")), machine(root.filePath("kalvintor.ini")) {
        QDir().mkpath(data);
        writeMachine(true);
        previous_ = qgetenv("KALVINTOR_MACHINE_SETTINGS");
        qputenv("KALVINTOR_MACHINE_SETTINGS", machine.toUtf8());
    }
    ~School() { qputenv("KALVINTOR_MACHINE_SETTINGS", previous_); }

    void writeMachine(bool firstTime) const {
        QFile f(machine);
        f.open(QIODevice::WriteOnly);
        f.write(QStringLiteral("[4.0]\nFirsttime=%1\nDatapath=%2/\n[MIDI]\nSyncrodelay=0\n")
                    .arg(firstTime ? "TRUE" : "FALSE", data)
                    .toUtf8());
    }
    QString file(const QString& name) const { return data + "/" + name; }

    // A school that has been running: no first start, logins by name and password, an
    // administrator ADA (password "a") and a student SAM (password "s") who keeps his settings.
    void establish(bool allowGuests = true) {
        writeMachine(false);
        data::DataStore store(toPath(data + "/"));
        store.LoadCommon();
        store.Common.useSystemLogin = false;
        store.Common.allowGuestLogin = allowGuests;
        store.SaveCommon();
        add(store, "ADA", "a", data::kAdministrator);
        add(store, "SAM", "s", data::kStudent);
    }
    static void add(data::DataStore& store, const std::string& login, const std::string& password,
                    int level) {
        data::UserRecord r;
        r.userId = store.NextId(data::IdKind::User);
        r.loginName = login;
        r.fullName = data::joinFullName(login, "Test");
        r.password = data::ScramblePassword(password);
        r.accessLevel = level;
        store.SaveUser(r);
    }

    QTemporaryDir root;
    QString data;
    QString machine;

private:
    QByteArray previous_;
};

// A program as the entry makes it, on a recording MIDI device.
struct Workstation {
    explicit Workstation(QStringList commandLine = {}) {
        auto system = std::make_unique<sound::RecordingMidiSystem>();
        recording = system.get();
        main = std::make_unique<TKalvintorMain>(nullptr, std::move(system));
        exercise = new TIntervalSam(*main);
        main->SetExerciseWindow(3, exercise);
        main->CreateMenuDialog();
        main->StartupDialogue = true;
        main->CommandLine = std::move(commandLine);
    }

    void key(int code) {
        QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier);
        QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier);
        main->HandleKeyDown(&down);
        main->HandleKeyUp(&up);
    }

    // Answers `count` interval comparison questions, all of them right.
    void answer(int count) {
        main->Speed1Click(3);
        for (int i = 0; i < count; ++i) {
            key(Qt::Key_F5);
            recording->Output()->Advance(recording->Output()->Now() + 20000);
            QCoreApplication::processEvents();
            key(exercise->state().rightAnswer == pitch::ComparisonChoice::A ? Qt::Key_F7 : Qt::Key_F8);
        }
    }

    sound::RecordingMidiSystem* recording = nullptr;
    std::unique_ptr<TKalvintorMain> main;
    TIntervalSam* exercise = nullptr;
};

// The login dialog answered with a name and a password.
inline ModalScript::Step logIn(const QString& name, const QString& password) {
    return fill({{"Edit1", name}, {"Edit2", password}}, "OK");
}

// Shows the workstation's main window and logs a user of an established school in, past the setup
// chooser; true when the start-up asked nothing else.
inline bool showLoggedIn(Workstation& w, ModalScript& script, const QString& name, const QString& password) {
    script.then(logIn(name, password)).then(rejectIt());
    w.main->show();
    return script.done() && script.unexpected.isEmpty();
}

// The add-user dialog filled in and confirmed.
inline ModalScript::Step addUser(const QString& first, const QString& last, const QString& login,
                                 const QString& password) {
    return fill(
        {{"Edit4", first}, {"Edit5", last}, {"Edit2", login}, {"Edit3", password}, {"Edit1", password}},
        "BitBtn1");
}

}  // namespace kalvintor::ui::testing
