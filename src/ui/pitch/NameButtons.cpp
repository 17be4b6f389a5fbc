// Name buttons laid out in a grid of up to six columns, coloured after judging.
#include "pitch/NameButtons.h"

#include "app/Style.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>

namespace kalvintor::ui {

NameButton::NameButton(int entry, QWidget* parent) : QPushButton(parent), entry_(entry) {
    setObjectName(QStringLiteral("AnswerButton%1").arg(entry));
    setMinimumHeight(25);
    setFont(style::uiFont(10));
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QPushButton::clicked, this, [this] { emit chosen(entry_, false); });
    setShade(Shade::Normal);
}

void NameButton::setShade(Shade shade) {
    shade_ = shade;
    const QColor fill = shade == Shade::Right   ? style::kRight
                        : shade == Shade::Wrong ? style::kWrong
                                                : style::kPaper;
    const QColor ink = shade == Shade::Normal ? style::kInk : QColor(Qt::white);
    setStyleSheet(
        QStringLiteral("QPushButton { background: %1; color: %2; border: 1px solid %3; border-radius: "
                       "4px; padding: 2px 8px; }"
                       "QPushButton:focus { border: 2px solid %4; }"
                       "QPushButton:disabled { color: %5; }")
            .arg(fill.name(), ink.name(), style::kNavyLight.name(), style::kAccent.name(),
                 style::kDisabled.name()));
}

void NameButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton && isEnabled() && rect().contains(event->position().toPoint())) {
        emit chosen(entry_, true);
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

void NameButton::keyPressEvent(QKeyEvent* event) {
    // Enter answers with the entry, as the right mouse button does; Space only previews it.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled()) {
        emit chosen(entry_, true);
        return;
    }
    QPushButton::keyPressEvent(event);
}

NameButtons::NameButtons(QWidget* parent) : QWidget(parent), grid_(new QGridLayout(this)) {
    setObjectName(QStringLiteral("NameButtons"));
    setAccessibleName(QStringLiteral("Answer by name"));
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(style::kGap / 2);
}

void NameButtons::setEntries(const std::vector<Entry>& entries) {
    for (NameButton* b : buttons_) b->deleteLater();
    buttons_.clear();
    const int count = static_cast<int>(entries.size());
    const int columns = count <= 8 ? 4 : count <= 18 ? 6 : 8;
    int i = 0;
    for (const Entry& e : entries) {
        auto* b = new NameButton(e.entry, this);
        b->setText(e.name);
        b->setAccessibleName(e.name);
        b->setEnabled(e.enabled);
        connect(b, &NameButton::chosen, this, &NameButtons::chosen);
        grid_->addWidget(b, i / columns, i % columns);
        buttons_.push_back(b);
        ++i;
    }
}

NameButton* NameButtons::button(int entry) const {
    for (NameButton* b : buttons_)
        if (b->entry() == entry) return b;
    return nullptr;
}

void NameButtons::setAllShades(NameButton::Shade shade) {
    for (NameButton* b : buttons_) b->setShade(shade);
}

}  // namespace kalvintor::ui
