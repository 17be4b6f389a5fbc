// The program asked to stop by the system or by the end of the desktop session: the student's
// session is kept as a close answered with Yes would keep it, since no one may be there to answer.
#include "app/TKalvintorMain.h"

#include <QCoreApplication>
#include <QSessionManager>

#include <exception>

namespace kalvintor::ui {

void TKalvintorMain::KeepSessionUnattended() {
    if (!LoginDone || Guest) return;
    try {
        if (!TutorEditorActive) {
            const std::uint16_t answered = ExercisesWithQuestions(0x3FF, 5);
            if (answered != 0) {
                SaveSessionResults(answered, TutorActive, false);
                RestartSession(0);
            }
        }
        RestoreTutorCatalogue();
        KeepUserState();
    } catch (const std::exception&) {
        // What could be kept is kept; the program ends all the same.
    }
}

void TKalvintorMain::EndUnattended() {
    if (!quitting_) KeepSessionUnattended();
    quitting_ = true;
    // Every event loop running ends, a dialogue's as well as the program's; during the start-up
    // dialogue the program's own has not begun, so it is asked to end as soon as it does.
    QCoreApplication::exit(0);
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TKalvintorMain::CommitSession(QSessionManager& manager) {
    if (quitting_ || !LoginDone) return;
    if (manager.allowsInteraction()) {
        // The user is there: the questions of a close, and the logout waits for them.
        const bool agreed = CloseQuery();
        manager.release();
        if (!agreed) manager.cancel();
    } else {
        KeepSessionUnattended();
    }
}

}  // namespace kalvintor::ui
