// The setup view of the three rhythm exercises: meters, note values, triplets, dotted notes,
// rests, ties, bars, tempo, strictness and the number of corrections, kept so that every chosen
// meter can be filled.
#pragma once

#include "app/ViewWindows.h"
#include "exercises/rhythm/ChoiceRules.h"

#include <QWidget>

#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QToolButton;

namespace kalvintor::ui::rhythm {

class TRytmeOps final : public QWidget, public SetupView {
    Q_OBJECT
public:
    // `savedCopy` gives the setup as it was when the view was entered ("Restore").
    explicit TRytmeOps(std::function<const setup::SetupRecord&()> savedCopy, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void LoadSetup(int exercise, const setup::SetupRecord& setup) override;
    void StoreSetup(int exercise, setup::SetupRecord& setup) override;

    const kalvintor::rhythm::ChoiceButtons& choices() const { return buttons_; }

private:
    void meterClicked(int index);
    void valueClicked(int index, bool triplet);
    void showChoices();
    void restore();

    std::function<const setup::SetupRecord&()> savedCopy_;
    int exercise_ = 0;
    kalvintor::rhythm::ChoiceButtons buttons_;
    std::array<QToolButton*, kalvintor::rhythm::kMeterCount> meters_{};
    std::array<QToolButton*, kalvintor::rhythm::kNoteValueCount> values_{};
    std::array<QToolButton*, kalvintor::rhythm::kTripletValueCount> triplets_{};
    QSlider* TrackBar1;
    QLabel* Label51;
    QSpinBox* SpinEdit2;
    QCheckBox* Pause3;
    QLabel* CorrectionsLabel;
    QSpinBox* SpinEdit3;
    QWidget* RadioGroup1;
    std::array<QRadioButton*, 3> strictness_{};
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox3;
    QCheckBox* CheckBox6;
    QToolButton* SpeedButton25;
};

}  // namespace kalvintor::ui::rhythm
