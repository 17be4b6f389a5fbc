// Playing catalogue entries in the setup views and editors: chords together, intervals and
// scales upwards, progressions voiced chord by chord.
#pragma once

#include "theory/ChordCatalogue.h"

namespace kalvintor::sound {
class TMidiOut;
}

namespace kalvintor::ui {

enum class PreviewStyle { Together, Upward };

void playEntry(sound::TMidiOut* out, const theory::CatalogueEntry& entry, PreviewStyle style, bool guitar);
void playProgression(sound::TMidiOut* out, const theory::CatalogueEntry& progression,
                     const theory::CatalogueTable& chordTypes, bool guitar);

}  // namespace kalvintor::ui
