// Answers the program's modal dialogs in the order a test expects them: each step is handed the
// dialog that became modal, and a dialog nobody expected is noted and rejected.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <functional>

namespace kalvintor::ui::testing {

class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
        qApp->installEventFilter(this);
    }
    ~ModalScript() override { qApp->removeEventFilter(this); }

    // A dialog shown again (the same object) is a new turn.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched == last_) last_ = nullptr;
        return false;
    }

    ModalScript& then(Step step) {
        steps_.push_back(std::move(step));
        return *this;
    }
    bool done() const { return steps_.empty(); }
    QStringList seen;        // every dialog met: "objectName|title|text"
    QStringList unexpected;  // dialogs no step was left for

private:
    void poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (w == last_) return;
        last_ = w;
        if (!w) return;
        // The configuration wizard and the tip of the day at start have tests of their own; here
        // they are closed as a user who skips them would.
        if (w->objectName() == "ConfigWizard" || w->objectName() == "Tipform") {
            QPointer<QWidget> helper(w);
            QTimer::singleShot(0, [helper] {
                if (auto* d = qobject_cast<QDialog*>(helper.data())) d->reject();
            });
            return;
        }
        QString what = w->objectName() + "|" + w->windowTitle();
        if (auto* box = qobject_cast<QMessageBox*>(w)) what += "|" + box->text();
        seen << what;
        QPointer<QWidget> target(w);
        if (steps_.empty()) {
            unexpected << what;
            QTimer::singleShot(0, [target] {
                if (auto* d = qobject_cast<QDialog*>(target.data())) d->reject();
            });
            return;
        }
        Step step = std::move(steps_.front());
        steps_.pop_front();
        // Acted on once this timer has returned, so that a dialog the step opens gets its turn.
        QTimer::singleShot(0, [target, step] {
            if (target) step(target);
        });
    }

    QTimer timer_;
    QPointer<QWidget> last_;
    std::deque<Step> steps_;
};

// Steps for the usual answers.
inline ModalScript::Step press(QMessageBox::StandardButton button) {
    return [button](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->button(button))
            box->button(button)->click();
        else if (auto* d = qobject_cast<QDialog*>(w))
            d->reject();
    };
}

inline ModalScript::Step rejectIt() {
    return [](QWidget* w) {
        if (auto* d = qobject_cast<QDialog*>(w)) d->reject();
    };
}

// Types into the named line edits, then clicks the named button.
inline ModalScript::Step fill(std::vector<std::pair<const char*, QString>> fields, const char* button) {
    return [fields, button](QWidget* w) {
        for (const auto& [name, value] : fields)
            if (auto* edit = w->findChild<QLineEdit*>(QLatin1String(name))) edit->setText(value);
        if (auto* b = w->findChild<QAbstractButton*>(QLatin1String(button))) b->click();
    };
}

}  // namespace kalvintor::ui::testing
