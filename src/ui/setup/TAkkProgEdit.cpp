// The chord-progression editor.
#include "TAkkProgEdit.h"

#include "EditorButtons.h"
#include "Preview.h"
#include "app/Texts.h"
#include "setup/EntryEditing.h"
#include "theory/Naming.h"
#include "theory/Tables.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kalvintor::ui {

TAkkProgEdit::TAkkProgEdit(SetupViewHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("TAkkProgEdit"));
    setWindowTitle(text(7571, "Chord progression"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* countRow = new QHBoxLayout;
    CountLabel = new QLabel(text(396, "Number of chords:"), this);
    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(setup::kMinProgressionChords, setup::kMaxProgressionChords);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setAccessibleName(text(396, "Number of chords:"));
    CountLabel->setBuddy(TrackBar1);
    auto* countValue = new QLabel(this);
    connect(TrackBar1, &QSlider::valueChanged, this, [this, countValue](int v) {
        countValue->setNum(v);
        rowRule();
    });
    countRow->addWidget(CountLabel);
    countRow->addWidget(TrackBar1, 1);
    countRow->addWidget(countValue);
    layout->addLayout(countRow);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(text(397, "Step"), this), 0, 1);
    grid->addWidget(new QLabel(text(7572, "Chord type"), this), 0, 2);
    const theory::ChordCatalogue& catalogue = host_.editableCatalogue();
    for (int k = 0; k < kRows; ++k) {
        auto* step = new QComboBox(this);
        step->setObjectName(QStringLiteral("ComboBox%1").arg(2 * k + 1));
        step->setAccessibleName(text(397, "Step") + QStringLiteral(" %1").arg(k + 1));
        for (std::string_view numeral : theory::RomanNumerals)
            step->addItem(QString::fromUtf8(numeral.data(), static_cast<int>(numeral.size())));
        auto* type = new QComboBox(this);
        type->setObjectName(QStringLiteral("ComboBox%1").arg(2 * k + 2));
        type->setAccessibleName(text(7572, "Chord type") + QStringLiteral(" %1").arg(k + 1));
        for (int i = 0; i < theory::kChordSymbolCount; ++i)
            type->addItem(QString::fromStdString(theory::ChordTypeButtonCaption(i, catalogue)));
        connect(step, &QComboBox::currentIndexChanged, this, [this] { preview(); });
        connect(type, &QComboBox::currentIndexChanged, this, [this] { preview(); });
        grid->addWidget(new QLabel(QString::number(k + 1), this), k + 1, 0);
        grid->addWidget(step, k + 1, 1);
        grid->addWidget(type, k + 1, 2);
        stepLists[static_cast<std::size_t>(k)] = step;
        typeLists[static_cast<std::size_t>(k)] = type;
    }
    layout->addLayout(grid);

    Label11 = new QLabel(this);
    Label11->setObjectName(QStringLiteral("Label11"));
    QFont big = Label11->font();
    big.setPointSizeF(big.pointSizeF() * 1.3);
    big.setBold(true);
    Label11->setFont(big);
    layout->addWidget(Label11);

    const EditorButtons buttons = addEditorButtons(this, layout);
    SpeedButton1 = buttons.play;
    OkButton = buttons.ok;
    CancelButton = buttons.cancel;
    connect(SpeedButton1, &QPushButton::clicked, this, [this] {
        StoreChords();
        playProgression(host_.previewOut(), entry_, host_.editableCatalogue().chordTypes(),
                        host_.answerPicture() == 4);
    });
}

void TAkkProgEdit::begin(const theory::CatalogueEntry& stored) {
    entry_ = stored;
    // A new progression starts with two chords on I of the first chord type.
    if (entry_.count < setup::kMinProgressionChords) {
        entry_.count = setup::kMinProgressionChords;
        for (int k = 0; k < setup::kMinProgressionChords; ++k)
            entry_.notes[static_cast<std::size_t>(k)] = setup::ProgressionChord(0, 0);
    }
    entry_.count = std::min<std::uint8_t>(entry_.count, setup::kMaxProgressionChords);
    LoadChords();
    rowRule();
}

bool TAkkProgEdit::edit(theory::CatalogueEntry& stored) {
    begin(stored);
    if (exec() != QDialog::Accepted) return false;
    stored.count = entry_.count;
    for (int k = 0; k < theory::kMaxEntryNotes; ++k)
        stored.notes[static_cast<std::size_t>(k)] =
            k < entry_.count ? entry_.notes[static_cast<std::size_t>(k)] : theory::CatalogueNote{};
    return true;
}

void TAkkProgEdit::LoadChords() {
    loading_ = true;
    for (int k = 0; k < kRows; ++k) {
        const theory::CatalogueNote& chord = entry_.notes[static_cast<std::size_t>(k)];
        const bool used = k < entry_.count;
        stepLists[static_cast<std::size_t>(k)]->setCurrentIndex(used ? setup::ProgressionStep(chord) : 0);
        typeLists[static_cast<std::size_t>(k)]->setCurrentIndex(used ? setup::ProgressionChordTypeItem(chord)
                                                                     : 0);
    }
    TrackBar1->setValue(entry_.count);
    loading_ = false;
}

void TAkkProgEdit::StoreChords() {
    for (int k = 0; k < kRows; ++k) {
        const int step = stepLists[static_cast<std::size_t>(k)]->currentIndex();
        const int type = typeLists[static_cast<std::size_t>(k)]->currentIndex();
        if (step >= 0 && type >= 0)
            entry_.notes[static_cast<std::size_t>(k)] = setup::ProgressionChord(step, type);
    }
    entry_.count = static_cast<std::uint8_t>(TrackBar1->value());
}

void TAkkProgEdit::rowRule() {
    const int count = TrackBar1->value();
    for (int k = 0; k < kRows; ++k) {
        stepLists[static_cast<std::size_t>(k)]->setEnabled(count > k);
        typeLists[static_cast<std::size_t>(k)]->setEnabled(count > k);
    }
    preview();
}

void TAkkProgEdit::preview() {
    if (loading_) return;
    StoreChords();
    Label11->setText(QString::fromStdString(theory::ProgressionName(entry_)));
}

void TAkkProgEdit::accept() {
    StoreChords();
    if (setup::CheckProgression(entry_) != setup::EntryProblem::None) return;
    QDialog::accept();
}

}  // namespace kalvintor::ui
