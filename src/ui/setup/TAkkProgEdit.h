// The chord-progression editor: a user progression is built chord by chord from a scale step and
// a chord type; its name is computed and shown as a preview.
#pragma once

#include "SetupViewHost.h"
#include "theory/ChordCatalogue.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kalvintor::ui {

class TAkkProgEdit final : public QDialog {
    Q_OBJECT
public:
    explicit TAkkProgEdit(SetupViewHost& host, QWidget* parent = nullptr);

    // Shows the editor modally; on OK the chords are written into `stored` and true is returned.
    bool edit(theory::CatalogueEntry& stored);
    // Prepares the editor as edit does, without showing it.
    void begin(const theory::CatalogueEntry& stored);

    void LoadChords();
    void StoreChords();
    const theory::CatalogueEntry& entry() const { return entry_; }

    static constexpr int kRows = 5;
    QSlider* TrackBar1 = nullptr;
    std::array<QComboBox*, kRows> stepLists{};  // ComboBox1, 3, 5, 7, 9
    std::array<QComboBox*, kRows> typeLists{};  // ComboBox2, 4, 6, 8, 10
    QLabel* Label11 = nullptr;
    QLabel* CountLabel = nullptr;
    QPushButton* SpeedButton1 = nullptr;
    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void accept() override;

private:
    void rowRule();
    void preview();

    SetupViewHost& host_;
    theory::CatalogueEntry entry_;
    bool loading_ = false;
};

}  // namespace kalvintor::ui
