// The exercise-setup view of the pitch exercises 1, 2, 3, 7, 8 and 10: which catalogue entries
// are asked, how they are played and answered, the root movement and the pitch range.
#pragma once

#include "RangePicker.h"
#include "SetupViewHost.h"
#include "app/ViewWindows.h"
#include "exercises/pitch/SetupBlock.h"
#include "theory/ChordCatalogue.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTableWidgetItem;

namespace kalvintor::ui {

class TChordEdit;
class TAkkProgEdit;

class TChordOps final : public QWidget, public SetupView {
    Q_OBJECT
public:
    explicit TChordOps(SetupViewHost& host, QWidget* parent = nullptr);
    ~TChordOps() override;

    QWidget* widget() override { return this; }
    void LoadSetup(int exercise, const setup::SetupRecord& setup) override;
    void StoreSetup(int exercise, setup::SetupRecord& setup) override;

    // The grid: a click on an entry's mark, name or picture (what a left click there does).
    void ClickEntry(int entry, bool onMark);
    void AddNew();
    void SelectAll();
    void DeselectAll();
    void Restore();
    void setCompactView(bool compact);
    bool entryOffered(int entry) const { return offered_[static_cast<std::size_t>(entry - 1)] != 0; }
    int exercise() const { return exercise_; }
    // Below 701 pixels of width the grid and the option column take their narrow widths.
    bool narrowLayout() const { return narrow_; }

    // The editors, made on first use.
    TChordEdit* chordEditor();
    TAkkProgEdit* progressionEditor();

    QTableWidget* DrawGrid1 = nullptr;
    QPushButton* CompactButton = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* SelectAllButton = nullptr;
    QPushButton* DeselectAllButton = nullptr;
    QPushButton* RestoreButton = nullptr;
    QCheckBox* Akk_SimulCheck = nullptr;
    QCheckBox* Akk_OpCheck = nullptr;
    QCheckBox* Akk_NedCheck = nullptr;
    QCheckBox* KeySigCheck = nullptr;
    QCheckBox* CommonToneCheck = nullptr;
    QCheckBox* AnswerInCCheck = nullptr;
    QCheckBox* LockCheck = nullptr;
    QCheckBox* ByNameCheck = nullptr;
    QCheckBox* PianoCheck = nullptr;
    QCheckBox* GuitarCheck = nullptr;
    QCheckBox* NotesheetCheck = nullptr;
    QCheckBox* PlayToneCheck = nullptr;
    QCheckBox* FirstToneCheck = nullptr;
    QCheckBox* AutoAnswerCheck = nullptr;
    QCheckBox* TonicCheck = nullptr;
    QRadioButton* BaseTonesRadio = nullptr;
    QRadioButton* CadenceRadio = nullptr;
    QCheckBox* OptionCheck = nullptr;
    QComboBox* InversionList = nullptr;
    QListWidget* RootMovementList = nullptr;
    RangePicker* Picker = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void fillRootMovementList();
    void fillGrid();
    void updateRules();
    void rootMovementChosen(int row);
    void openEditor(int entry);
    void playEntryAt(int entry);
    void cellClicked(int row, int column);
    int entryAt(int row, int column) const;
    theory::TableKind kind() const;
    int shownEntries() const;

    SetupViewHost& host_;
    int exercise_ = 1;
    std::array<std::uint8_t, pitch::kEntryFlagCount> offered_{};
    bool compact_ = false;
    bool filling_ = false;
    bool narrow_ = true;  // as built: the narrow widths
    QWidget* optionPanel_ = nullptr;
    int optionsNeed_ = 0;  // the option column's own smallest width, in any language
    QGroupBox* answerGroup_ = nullptr;
    QGroupBox* tonicGroup_ = nullptr;
    QGroupBox* rootGroup_ = nullptr;
    TChordEdit* chordEdit_ = nullptr;
    TAkkProgEdit* progEdit_ = nullptr;
};

}  // namespace kalvintor::ui
