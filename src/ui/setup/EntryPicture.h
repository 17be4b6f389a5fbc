// The structure picture of a catalogue entry in the setup grid, on the instrument the answers are
// given on: its notes on a small keyboard from C, on a treble staff with their signs, or as dots
// on a guitar's strings; drawn at the screen's pixel ratio.
#pragma once

#include "theory/ChordCatalogue.h"

#include <QPixmap>

namespace kalvintor::ui {

enum class EntryPictureKind { Piano, Guitar, Staff };

// From the setup dialogs' answer picture: 2 piano, 4 guitar, anything else the staff.
EntryPictureKind entryPictureKind(int answerPicture);

inline constexpr int kEntryPictureWidth = 134;
// The grid's row height for a kind of picture.
int entryRowHeight(EntryPictureKind kind);

// `inSequence`: a scale's notes stand one after the other on the staff; chords are stacked.
QPixmap entryPicture(const theory::CatalogueEntry& entry, qreal pixelRatio, EntryPictureKind kind,
                     bool inSequence);

}  // namespace kalvintor::ui
