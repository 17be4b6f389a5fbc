// The answer-by-name buttons of a pitch exercise: one per offered catalogue entry, in button
// order. Left click or Space previews an entry; right click or Enter answers with it.
#pragma once

#include <QPushButton>
#include <QWidget>

#include <vector>

class QGridLayout;

namespace kalvintor::ui {

class NameButton final : public QPushButton {
    Q_OBJECT
public:
    enum class Shade { Normal, Right, Wrong };
    NameButton(int entry, QWidget* parent);
    int entry() const { return entry_; }
    void setShade(Shade shade);
    Shade shade() const { return shade_; }

signals:
    void chosen(int entry, bool commit);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int entry_;
    Shade shade_ = Shade::Normal;
};

class NameButtons final : public QWidget {
    Q_OBJECT
public:
    explicit NameButtons(QWidget* parent = nullptr);

    struct Entry {
        int entry = 0;
        QString name;
        bool enabled = true;
    };
    // Rebuilds the buttons; surplus ones are dropped.
    void setEntries(const std::vector<Entry>& entries);
    NameButton* button(int entry) const;
    const std::vector<NameButton*>& buttons() const { return buttons_; }
    void setAllShades(NameButton::Shade shade);

signals:
    void chosen(int entry, bool commit);

private:
    QGridLayout* grid_;
    std::vector<NameButton*> buttons_;
};

}  // namespace kalvintor::ui
