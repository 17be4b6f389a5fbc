// A main window on a recording MIDI device with a data directory of a class and its results.
#pragma once

#include "../../core/results/ResultsFixture.h"
#include "../app/ExerciseTestDoubles.h"
#include "app/TKalvintorMain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace kalvintor::ui::testing {

// Answers every message box that comes up while it lives, and keeps their texts.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Yes) {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [this, answer] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.push_back(box->text());
                if (QAbstractButton* b = box->button(answer))
                    b->click();
                else
                    box->accept();
            }
        });
        timer_.start();
    }
    QStringList texts;

private:
    QTimer timer_;
};

}  // namespace kalvintor::ui::testing
