// "About Kalvintor...": the program's version and build, and the licences of the music font and
// of the SoundFont the built-in synthesizer uses.
#pragma once

#include <QDialog>

class QTextBrowser;

namespace kalvintor::ui {

class TAboutBox final : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    QTextBrowser* licences() const { return licences_; }

private:
    QTextBrowser* licences_;
};

}  // namespace kalvintor::ui
