// The start menu: ten exercise buttons and an information panel with a scrolling welcome text.
#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <string>
#include <vector>

class QPushButton;

namespace kalvintor::ui {

class TMenuDialog final : public QWidget {
    Q_OBJECT
public:
    explicit TMenuDialog(QWidget* parent = nullptr);

    // The scrolling welcome text.
    std::vector<std::string> WelcomeLines;
    int StopLine = 0;
    int TopLine = 0;
    int ScrollOffset = 0;
    int LineHeight = 10;
    std::vector<std::string> DescriptionLines;
    int HoverExercise = 0;

    void AddParagraph(const QString& text);
    // Starts scrolling and, when the settings ask for it, the introduction tune.
    void StartMenu();
    void StopIntro();
    // A tick of the scroll timer.
    void ScrollTick();
    // The mouse is over exercise `tag` (0 = the information panel).
    void Hover(int tag);

    QWidget* panel() const { return panel_; }
    QWidget* infoPanel() const { return info_; }
    QPushButton* exerciseButton(int exercise) const;
    bool scrolling() const { return scrollTimer_.isActive(); }

    // Plays the introduction tune; true when it plays. The shell provides it with the sound.
    std::function<bool()> playIntro;
    std::function<void()> stopIntro;
    bool introMusic = true;

signals:
    // An exercise button was clicked; the tag is the exercise number.
    void exerciseChosen(int tag);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rebuildWelcome();
    void paintInfo(QPainter& painter);
    void describeInfo();
    int wrapWidth() const;
    QFont panelFont(bool bold = false) const;

    QWidget* panel_;
    QWidget* info_;
    std::map<int, QPushButton*> buttons_;
    std::map<int, std::string> paragraphs_;  // welcome texts by id, added in id order
    QTimer scrollTimer_;
    bool scrollAllowed_ = false;
    bool introPlaying_ = false;
};

}  // namespace kalvintor::ui
