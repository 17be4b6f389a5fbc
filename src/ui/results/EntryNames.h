// The names of an exercise's catalogue entries, as column heads and table rows show them.
#pragma once

#include <QString>

#include <string>

namespace kalvintor::theory {
struct ChordCatalogue;
}

namespace kalvintor::ui {

// The name of entry 1..60 of the material table of `exercise` (1, 2, 3, 7, 8, 10): chord types,
// intervals, inversions, scales, or the progression's display name.
// A user's name as windows show it, whether or not his statistics were computed.
QString userName(const std::string& fullName);

// The exercise's caption in the loaded language.
QString ExerciseCaption(int exercise);

QString EntryName(const theory::ChordCatalogue& catalogue, int exercise, int entry);

}  // namespace kalvintor::ui
