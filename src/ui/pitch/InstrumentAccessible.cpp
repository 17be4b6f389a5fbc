// Accessibility of the instruments: the piano as a group of keys, the fretboard as a group of
// places. Key and place objects have no widget of their own; they read the instrument.
#include "pitch/InstrumentAccessible.h"

#include "app/Texts.h"
#include "exercises/pitch/Instruments.h"
#include "pitch/TGuitar.h"
#include "pitch/TPiano.h"
#include "theory/Tables.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>

#include <map>

namespace kalvintor::ui {
namespace {

using kalvintor::notation::Ink;

// "in your answer", "right", … for a marked key or place, and "sounding" while it is lit.
QString markDescription(const InstrumentMark* mark) {
    if (mark == nullptr) return {};
    QString d;
    switch (mark->ink) {
        case Ink::Pending:
        case Ink::Held:
            d = text(8233, "in your answer");
            break;
        case Ink::Right:
            d = text(8234, "right");
            break;
        case Ink::Wrong:
            d = text(8235, "wrong");
            break;
        case Ink::Question:
            d = text(8236, "in the question");
            break;
    }
    if (mark->lit) d += QStringLiteral(", ") + text(8237, "sounding");
    return d;
}

// One key or place: a button whose every answer comes from its instrument.
template <typename Instrument>
class PartAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    PartAccessible(Instrument* instrument, int index) : instrument_(instrument), index_(index) {}

    bool isValid() const override { return !instrument_.isNull() && index_ < count(instrument_.data()); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        return instrument_ && instrument_->window() ? instrument_->window()->windowHandle() : nullptr;
    }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return instrument_ ? QAccessible::queryAccessibleInterface(instrument_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }

    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        switch (t) {
            case QAccessible::Name:
                return name(instrument_.data(), index_);
            case QAccessible::Description:
                return markDescription(mark(instrument_.data(), index_));
            default:
                return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = place(instrument_.data(), index_);
        return {instrument_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        Instrument* i = instrument_.data();
        s.disabled = !i->isEnabled();
        s.focusable = i->isEnabled();
        s.focused = i->hasFocus() && focused(i, index_);
        s.checkable = true;
        s.checked = mark(i, index_) != nullptr;
        s.pressed = held(i, index_);
        s.invisible = !i->isVisible();
        s.offscreen = !i->isVisible();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override {
        if (!isValid() || !instrument_->isEnabled()) return {};
        return {pressAction(), setFocusAction()};
    }
    void doAction(const QString& action) override {
        if (!isValid() || !instrument_->isEnabled()) return;
        if (action == pressAction())
            press(instrument_.data(), index_);
        else if (action == setFocusAction())
            focus(instrument_.data(), index_);
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? QStringList{QStringLiteral("Space")} : QStringList{};
    }

    // What differs between the piano and the guitar.
    static int count(const Instrument* i);
    static QString name(const Instrument* i, int index);
    static QRect place(const Instrument* i, int index);
    static const InstrumentMark* mark(const Instrument* i, int index);
    static bool held(const Instrument* i, int index);
    static bool focused(const Instrument* i, int index);
    static void press(Instrument* i, int index);
    static void focus(Instrument* i, int index);
    static int indexAt(const Instrument* i, QPoint local);
    static int focusIndex(const Instrument* i);

private:
    QPointer<Instrument> instrument_;
    int index_;
};

// The piano's keys from F2 upwards.
using KeyAccessible = PartAccessible<TPiano>;
int pianoPitch(int index) {
    return pitch::kPianoLowestKey + index;
}
template <>
int KeyAccessible::count(const TPiano* i) {
    return i->highestKey() - pitch::kPianoLowestKey + 1;
}
template <>
QString KeyAccessible::name(const TPiano*, int index) {
    return TPiano::keyName(pianoPitch(index));
}
template <>
QRect KeyAccessible::place(const TPiano* i, int index) {
    return i->keyRect(pianoPitch(index));
}
template <>
const InstrumentMark* KeyAccessible::mark(const TPiano* i, int index) {
    return i->markOf(pianoPitch(index));
}
template <>
bool KeyAccessible::held(const TPiano* i, int index) {
    return i->isHeld(pianoPitch(index));
}
template <>
bool KeyAccessible::focused(const TPiano* i, int index) {
    return i->focusKey() == pianoPitch(index);
}
template <>
void KeyAccessible::press(TPiano* i, int index) {
    i->playKey(pianoPitch(index));
}
template <>
void KeyAccessible::focus(TPiano* i, int index) {
    i->setFocus(Qt::OtherFocusReason);
    i->setFocusKey(pianoPitch(index));
}
template <>
int KeyAccessible::indexAt(const TPiano* i, QPoint local) {
    const auto key = i->keyAt(local);
    return key ? *key - pitch::kPianoLowestKey : -1;
}
template <>
int KeyAccessible::focusIndex(const TPiano* i) {
    return i->focusKey() - pitch::kPianoLowestKey;
}

// The board's places string by string, each from the open string to the last visible fret.
using PlaceAccessible = PartAccessible<TGuitar>;
int placesPerString(const TGuitar* i) {
    return i->visibleFrets() + 1;
}
int stringOf(const TGuitar* i, int index) {
    return index / placesPerString(i) + 1;
}
int fretOf(const TGuitar* i, int index) {
    return index % placesPerString(i);
}
template <>
int PlaceAccessible::count(const TGuitar* i) {
    return theory::kGuitarStrings * placesPerString(i);
}
template <>
QString PlaceAccessible::name(const TGuitar* i, int index) {
    return TGuitar::placeName(stringOf(i, index), fretOf(i, index));
}
template <>
QRect PlaceAccessible::place(const TGuitar* i, int index) {
    return i->placeRect(stringOf(i, index), fretOf(i, index));
}
template <>
const InstrumentMark* PlaceAccessible::mark(const TGuitar* i, int index) {
    return i->markAt(stringOf(i, index), fretOf(i, index));
}
template <>
bool PlaceAccessible::held(const TGuitar* i, int index) {
    return i->isHeldAt(stringOf(i, index), fretOf(i, index));
}
template <>
bool PlaceAccessible::focused(const TGuitar* i, int index) {
    return i->focusString() == stringOf(i, index) && i->focusFret() == fretOf(i, index);
}
template <>
void PlaceAccessible::press(TGuitar* i, int index) {
    i->playPlace(stringOf(i, index), fretOf(i, index));
}
template <>
void PlaceAccessible::focus(TGuitar* i, int index) {
    i->setFocus(Qt::OtherFocusReason);
    i->setFocusPlace(stringOf(i, index), fretOf(i, index));
}
template <>
int PlaceAccessible::indexAt(const TGuitar* i, QPoint local) {
    for (int index = 0; index < count(i); ++index)
        if (place(i, index).contains(local)) return index;
    return -1;
}
template <>
int PlaceAccessible::focusIndex(const TGuitar* i) {
    return (i->focusString() - 1) * placesPerString(i) + i->focusFret();
}

// The instrument: a group with one child per key or place.
template <typename Instrument>
class InstrumentGroupAccessible final : public QAccessibleWidget {
    using Part = PartAccessible<Instrument>;

public:
    explicit InstrumentGroupAccessible(Instrument* instrument)
        : QAccessibleWidget(instrument, QAccessible::Grouping) {}
    ~InstrumentGroupAccessible() override {
        for (const auto& [index, id] : ids_) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return Part::count(instrument()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        auto it = ids_.find(index);
        if (it == ids_.end())
            it = ids_.emplace(index, QAccessible::registerAccessibleInterface(new Part(instrument(), index)))
                     .first;
        return QAccessible::accessibleInterface(it->second);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : ids_)
            if (QAccessible::accessibleInterface(id) == child) return index < childCount() ? index : -1;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = instrument()->mapFromGlobal(QPoint(x, y));
        if (!instrument()->rect().contains(local)) return nullptr;
        return child(Part::indexAt(instrument(), local));
    }
    QAccessibleInterface* focusChild() const override {
        return instrument()->hasFocus() ? child(Part::focusIndex(instrument())) : nullptr;
    }

private:
    Instrument* instrument() const { return static_cast<Instrument*>(widget()); }

    mutable std::map<int, QAccessible::Id> ids_;
};

QAccessibleInterface* instrumentInterfaces(const QString&, QObject* object) {
    if (auto* piano = qobject_cast<TPiano*>(object)) return new InstrumentGroupAccessible<TPiano>(piano);
    if (auto* guitar = qobject_cast<TGuitar*>(object)) return new InstrumentGroupAccessible<TGuitar>(guitar);
    return nullptr;
}

}  // namespace

void installInstrumentAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(instrumentInterfaces);
        return true;
    }();
    (void)installed;
}

}  // namespace kalvintor::ui
