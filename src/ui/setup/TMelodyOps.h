// The exercise-setup view of melody dictation (exercise 9): length, leaps and ambitus, melody
// type and keys, tonic, display and answer options, and the pitch range.
#pragma once

#include "RangePicker.h"
#include "SetupViewHost.h"
#include "app/ViewWindows.h"
#include "exercises/pitch/MelodySetup.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace kalvintor::ui {

class TMelodyOps final : public QWidget, public SetupView {
    Q_OBJECT
public:
    explicit TMelodyOps(SetupViewHost& host, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    void LoadSetup(int exercise, const setup::SetupRecord& setup) override;
    void StoreSetup(int exercise, setup::SetupRecord& setup) override;
    void Restore();

    QSpinBox* SpinEdit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;                                 // largest leap
    QComboBox* ComboBox2 = nullptr;                                 // ambitus
    QComboBox* ComboBox3 = nullptr;                                 // melody type
    std::array<QToolButton*, pitch::kMelodyKeyCount> keyButtons{};  // six flats .. five sharps
    QCheckBox* CheckBox1 = nullptr;                                 // show key signature
    QCheckBox* CheckBox2 = nullptr;                                 // play keynote/tonic
    QRadioButton* RadioButton1 = nullptr;                           // base tones
    QRadioButton* RadioButton5 = nullptr;                           // cadence
    QCheckBox* CheckBox3 = nullptr;                                 // play tone on click
    QCheckBox* CheckBox5 = nullptr;                                 // lock
    QCheckBox* CheckBox11 = nullptr;                                // on piano
    QCheckBox* CheckBox13 = nullptr;                                // on guitar
    QCheckBox* CheckBox12 = nullptr;                                // on notesheet
    QCheckBox* CheckBox4 = nullptr;                                 // auto answer
    QCheckBox* CheckBox6 = nullptr;                                 // show first tone
    QCheckBox* CheckBox8 = nullptr;                                 // rhythms
    QPushButton* SpeedButton13 = nullptr;                           // restore
    RangePicker* Picker = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillTypeList();
    void typeRule();
    void tonicRule();
    void lockRule();
    void keyRule();

    SetupViewHost& host_;
    int exercise_ = 9;
    pitch::MelodySetup stored_;  // the block as last loaded: the type rule restores from it
};

}  // namespace kalvintor::ui
