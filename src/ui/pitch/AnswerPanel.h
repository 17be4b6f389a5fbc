// One of the two coloured panels of the interval comparison window, holding its big answer button.
#pragma once

#include <QColor>
#include <QWidget>

class QPushButton;

namespace kalvintor::ui {

class AnswerPanel final : public QWidget {
    Q_OBJECT
public:
    enum class Shade { Normal, Sounding, Right, Wrong };

    // letter: the panel's name, shown in its corner whatever its button shows.
    explicit AnswerPanel(const QString& letter, QWidget* parent = nullptr);

    QPushButton* button() const { return button_; }
    Shade shade() const { return shade_; }
    void setShade(Shade shade);
    QColor colour() const;
    static QColor colourOf(Shade shade);

    // The big letter before an answer, or the interval's name afterwards.
    void showLetter(const QString& letterWithMnemonic);
    void showName(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString letter_;
    QPushButton* button_;
    Shade shade_ = Shade::Normal;
};

}  // namespace kalvintor::ui
