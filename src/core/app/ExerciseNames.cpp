// The exercises' English names.
#include "app/ExerciseNames.h"

#include <array>
#include <cstddef>

namespace kalvintor::app {

std::string_view ExerciseEnglishName(int exercise) {
    static constexpr std::array<std::string_view, 11> kNames = {
        "",
        "Chord identification",
        "Interval identification",
        "Interval comparison",
        "Rhythm imitation",
        "Rhythm reading",
        "Rhythm correction",
        "Chord inversions",
        "Scales",
        "Melody",
        "Chord progressions",
    };
    return exercise >= 1 && exercise <= 10 ? kNames[static_cast<std::size_t>(exercise)] : std::string_view{};
}

}  // namespace kalvintor::app
