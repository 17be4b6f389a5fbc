// The chord-type editor: a user entry of the chord-type, interval, inversion or scale table gets
// its name and its notes, entered on the picture of the answer instrument (staff, piano or guitar)
// or on a MIDI keyboard; for inversions a chord type and an inversion are chosen instead.
#pragma once

#include "EditKeyboard.h"
#include "SetupViewHost.h"
#include "pitch/InstrumentMarks.h"
#include "theory/ChordCatalogue.h"

#include <QDialog>

#include <vector>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace kalvintor::ui {

class TGuitar;
class TSheet;

class TChordEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TChordEdit(SetupViewHost& host, QWidget* parent = nullptr);

    // Shows the editor modally on `stored` for `exercise`; on OK the name, count and notes are
    // written into it and true is returned.
    bool edit(theory::CatalogueEntry& stored, int exercise);
    // Prepares the editor as edit does, without showing it (edit and tests).
    void begin(const theory::CatalogueEntry& stored, int exercise);

    void ClearEntry();
    // Inserts (remove false) or removes a note; position > 0 is a place in the entry.
    bool EditNote(theory::CatalogueNote note, bool remove, int position);
    void SetInversionMode(bool on);
    // A MIDI short message from the keyboard: note-ons within 53..84 enter their note.
    void MidiInput(std::uint32_t message);
    int heldKeys() const { return heldKeys_; }
    const theory::CatalogueEntry& entry() const { return entry_; }
    // The entry as OK would take it, or the problem that stops OK (shown in the dialog).
    bool check();

    // The answer picture the notes are entered on: 2 piano, 4 guitar, 8 staff.
    int instrument() const { return instrument_; }

    QLineEdit* Edit1 = nullptr;
    EditKeyboard* Keyboard = nullptr;
    TSheet* Sheet = nullptr;
    TGuitar* Guitar = nullptr;
    QToolButton* AddNotesButton = nullptr;  // the staff's tools
    QToolButton* DeleteNotesButton = nullptr;
    QLabel* NotesLabel = nullptr;
    QLabel* ProblemLabel = nullptr;
    QPushButton* SpeedButton1 = nullptr;  // play
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QComboBox* ComboBox1 = nullptr;    // inversion mode: chord type
    QGroupBox* RadioGroup1 = nullptr;  // inversion mode: inversion
    QLabel* InversionLabel = nullptr;

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void keyChosen(int pitch, bool remove);
    // A note from a picture: inserted (at `position` when above 0, else in pitch order), or taken
    // out with `remove`.
    void noteChosen(theory::CatalogueNote note, bool remove, int position = 0);
    void sound(int pitch);
    // The note under the mouse on the staff or the guitar, not yet entered (pitch 0: none).
    void hold(int pitch, int spellOffset, int string);
    void showPicture();
    void inversionChanged(bool typeChanged);
    void showNotes();

    SetupViewHost& host_;
    theory::CatalogueEntry entry_;
    int exercise_ = 1;
    int instrument_ = 8;
    InstrumentHeld held_;
    // Scales on the staff: the place a new note takes, 1 + the notes drawn left of the press.
    int insertAt_ = 0;
    bool inversionMode_ = false;
    int heldKeys_ = 0;
    std::vector<int> inversionTypes_;
    QButtonGroup* inversions_ = nullptr;
    std::vector<QRadioButton*> inversionButtons_;
};

}  // namespace kalvintor::ui
