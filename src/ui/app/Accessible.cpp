// Accessibility interfaces of the control-button strip, the tool buttons and the score gauge.
#include "Accessible.h"

#include "MainPanels.h"
#include "TControlButton.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QToolButton>
#include <QWindow>

#include <array>

namespace kalvintor::ui {
namespace {

QString withoutMnemonic(QString caption) {
    // "&&" stands for a written "&"; a single "&" only marks the key.
    caption.replace(QLatin1String("&&"), QString(QChar(0xE000)));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QChar(0xE000), QLatin1Char('&'));
}

// One of the five buttons of a strip. It has no object of its own: it reads the strip.
class ControlSlotAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ControlSlotAccessible(TControlButton* strip, int index) : strip_(strip), index_(index) {}

    bool isValid() const override { return !strip_.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return strip_ && strip_->window() ? strip_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return strip_ ? QAccessible::queryAccessibleInterface(strip_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!strip_) return {};
        switch (t) {
            case QAccessible::Name:
                return withoutMnemonic(strip_->Captions[static_cast<std::size_t>(index_)]);
            case QAccessible::Accelerator:
                return keyName();
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!strip_) return {};
        const QPoint topLeft = strip_->mapToGlobal(QPoint(TControlButton::kPitch * index_, 1));
        return {topLeft, QSize(TControlButton::kFaceWidth, TControlButton::kFaceHeight)};
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!strip_) {
            s.invalid = true;
            return s;
        }
        const bool enabled = strip_->ButtonEnabled[static_cast<std::size_t>(index_)];
        s.disabled = !enabled;
        s.focusable = enabled;
        s.focused = strip_->hasFocus() && strip_->FocusIndex == index_;
        s.pressed = strip_->PressedIndex == index_;
        s.hotTracked = strip_->HoverIndex == index_;
        s.invisible = !strip_->isVisible();
        s.offscreen = !strip_->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override {
        if (!strip_ || !strip_->ButtonEnabled[static_cast<std::size_t>(index_)]) return {};
        return {pressAction(), setFocusAction()};
    }
    void doAction(const QString& name) override {
        if (!strip_ || !strip_->ButtonEnabled[static_cast<std::size_t>(index_)]) return;
        if (name == pressAction())
            strip_->Click(index_);
        else if (name == setFocusAction())
            strip_->FocusButton(index_);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        return name == pressAction() ? QStringList{keyName()} : QStringList{};
    }

private:
    QString keyName() const { return QStringLiteral("F%1").arg(index_ + 5); }

    QPointer<TControlButton> strip_;
    int index_;
};

// The strip: a tool bar of five buttons.
class ControlStripAccessible final : public QAccessibleWidget {
public:
    explicit ControlStripAccessible(TControlButton* strip) : QAccessibleWidget(strip, QAccessible::ToolBar) {}
    ~ControlStripAccessible() override {
        for (QAccessible::Id id : ids_)
            if (id != 0) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return TControlButton::kButtons; }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= TControlButton::kButtons) return nullptr;
        QAccessible::Id& id = ids_[static_cast<std::size_t>(index)];
        if (id == 0) id = QAccessible::registerAccessibleInterface(new ControlSlotAccessible(strip(), index));
        return QAccessible::accessibleInterface(id);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (int i = 0; i < TControlButton::kButtons; ++i)
            if (ids_[static_cast<std::size_t>(i)] != 0 &&
                QAccessible::accessibleInterface(ids_[static_cast<std::size_t>(i)]) == child)
                return i;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = strip()->mapFromGlobal(QPoint(x, y));
        if (!strip()->rect().contains(local)) return nullptr;
        const int index = local.x() / TControlButton::kPitch;
        const int along = local.x() % TControlButton::kPitch;
        if (index >= TControlButton::kButtons || along >= TControlButton::kFaceWidth) return nullptr;
        return child(index);
    }
    QAccessibleInterface* focusChild() const override {
        const int index = strip()->FocusIndex;
        return strip()->hasFocus() && index >= 0 && index < TControlButton::kButtons ? child(index) : nullptr;
    }

private:
    TControlButton* strip() const { return static_cast<TControlButton*>(widget()); }

    mutable std::array<QAccessible::Id, TControlButton::kButtons> ids_{};
};

// A tool button: named by its hint when it has no caption, and pressed or toggled the way a click
// does it, so an exercise button opens its exercise.
class SpeedButtonAccessible final : public QAccessibleWidget {
public:
    explicit SpeedButtonAccessible(QToolButton* button) : QAccessibleWidget(button, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            QString name = widget()->accessibleName();
            if (name.isEmpty()) name = withoutMnemonic(button()->text());
            if (name.isEmpty()) name = button()->toolTip();
            return name;
        }
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = button()->isCheckable();
        s.checked = button()->isChecked();
        s.pressed = button()->isDown();
        return s;
    }
    QStringList actionNames() const override {
        QStringList names;
        if (button()->isEnabled()) {
            names << pressAction();
            if (button()->isCheckable()) names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            if (button()->isEnabled()) button()->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (name == pressAction() && !button()->shortcut().isEmpty())
            return {button()->shortcut().toString(QKeySequence::NativeText)};
        return QAccessibleWidget::keyBindingsForAction(name);
    }

private:
    QToolButton* button() const { return static_cast<QToolButton*>(widget()); }
};

// The score gauge: a progress bar from 0 to 100.
class GaugeAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit GaugeAccessible(TGauge* gauge) : QAccessibleWidget(gauge, QAccessible::ProgressBar) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QStringLiteral("%1%").arg(gauge()->Progress());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return gauge()->Progress(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

private:
    TGauge* gauge() const { return static_cast<TGauge*>(widget()); }
};

QAccessibleInterface* programInterfaces(const QString&, QObject* object) {
    // Asked first with the most derived class name: answer only for the program's own classes,
    // so that their bases' interfaces are never used for them.
    if (auto* strip = qobject_cast<TControlButton*>(object)) return new ControlStripAccessible(strip);
    if (auto* button = qobject_cast<TSpeedButton*>(object)) return new SpeedButtonAccessible(button);
    if (auto* gauge = qobject_cast<TGauge*>(object)) return new GaugeAccessible(gauge);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(programInterfaces);
        return true;
    }();
    (void)installed;
}

}  // namespace kalvintor::ui
