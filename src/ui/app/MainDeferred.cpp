// Windows made when first needed or once the main window is up, and the rest of the start that
// waits for the first paint.
#include "TKalvintorMain.h"

#include "MainSound.h"
#include "Pictures.h"
#include "TExerciseBaseClass.h"
#include "TMenuDialog.h"
#include "app/ViewTags.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace kalvintor::ui {

namespace {

// Calls `then` from the event loop once a widget of `window` has painted, and goes.
class FirstPaintWatch final : public QObject {
public:
    FirstPaintWatch(QWidget* window, std::function<void()> then)
        : QObject(window), window_(window), then_(std::move(then)) {
        qApp->installEventFilter(this);
    }
    ~FirstPaintWatch() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_ && then_) {
            QTimer::singleShot(0, window_, std::move(then_));
            then_ = nullptr;
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
    std::function<void()> then_;
};

}  // namespace

void TKalvintorMain::SetExerciseMaker(int exercise, std::function<TExerciseBaseClass*()> make) {
    if (exercise < 1 || exercise > 10 || exercises_[static_cast<std::size_t>(exercise)] != nullptr) return;
    exerciseMakers_[static_cast<std::size_t>(exercise)] = std::move(make);
    if (QToolButton* button = exerciseButtons_[static_cast<std::size_t>(exercise)])
        button->setEnabled(ExerciseAvailable(exercise));
    if (QPushButton* button = menu_ ? menu_->exerciseButton(exercise) : nullptr)
        button->setEnabled(ExerciseAvailable(exercise));
}

void TKalvintorMain::SetInfoViewMaker(int view, std::function<InfoView*()> make) {
    if (view != app::kViewResults && view != app::kViewUserOverview) return;
    const auto index = static_cast<std::size_t>(view - app::kViewResults);
    if (infoViews_[index] != nullptr) return;
    infoMakers_[index] = std::move(make);
    UpdateViewButtons();
}

QCursor TKalvintorMain::cursor(int number) const {
    const auto found = cursors_.constFind(number);
    if (found != cursors_.constEnd()) return *found;
    return *cursors_.insert(number, programCursor(number));
}

bool TKalvintorMain::ExerciseAvailable(int exercise) const {
    if (exercise < 1 || exercise > 10) return false;
    const auto index = static_cast<std::size_t>(exercise);
    return exercises_[index] != nullptr || exerciseMakers_[index] != nullptr;
}

void TKalvintorMain::MakeExerciseWindow(int exercise) {
    const auto index = static_cast<std::size_t>(exercise);
    const auto make = std::move(exerciseMakers_[index]);
    exerciseMakers_[index] = nullptr;
    if (!make) return;
    // The window takes the setup in force as it is made; what else was told to the windows made
    // before is told to it now.
    TExerciseBaseClass* window = make();
    SetExerciseWindow(exercise, window);
    if (window != nullptr && setupCaption_) window->setWindowTitle(*setupCaption_);
}

void TKalvintorMain::MakeInfoView(int view) {
    const auto index = static_cast<std::size_t>(view - app::kViewResults);
    const auto make = std::move(infoMakers_[index]);
    infoMakers_[index] = nullptr;
    if (make) SetInfoView(view, make());
}

void TKalvintorMain::WatchFirstPaint() {
    if (quitting_) return;
    new FirstPaintWatch(this, [this] { AfterFirstPaint(); });
}

void TKalvintorMain::AfterFirstPaint() {
    sound_->StartSynth();
    MakeDeferredWindowsInTurn();
}

void TKalvintorMain::MakeDeferredWindowsInTurn() {
    // One window at a time, so that the user's first clicks are answered in between.
    QTimer::singleShot(0, this, [this] {
        if (MakeNextDeferredWindow()) MakeDeferredWindowsInTurn();
    });
}

bool TKalvintorMain::MakeNextDeferredWindow() {
    // The teacher's windows first: a teacher usually goes there first.
    for (int view : {app::kViewUserOverview, app::kViewResults}) {
        if (infoMakers_[static_cast<std::size_t>(view - app::kViewResults)]) {
            MakeInfoView(view);
            return true;
        }
    }
    for (int e = 1; e <= 10; ++e) {
        if (exerciseMakers_[static_cast<std::size_t>(e)]) {
            MakeExerciseWindow(e);
            return true;
        }
    }
    return false;
}

void TKalvintorMain::CreateDeferredWindows() {
    while (MakeNextDeferredWindow()) {
    }
}

}  // namespace kalvintor::ui
