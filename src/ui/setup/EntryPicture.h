// The structure picture of a catalogue entry in the setup grid: its notes on a small keyboard
// from C, drawn at the screen's pixel ratio.
#pragma once

#include "theory/ChordCatalogue.h"

#include <QPixmap>

namespace kalvintor::ui {

inline constexpr int kEntryPictureWidth = 134;
inline constexpr int kEntryPictureHeight = 22;

QPixmap entryPicture(const theory::CatalogueEntry& entry, qreal pixelRatio);

}  // namespace kalvintor::ui
