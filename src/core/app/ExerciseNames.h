// The names of the ten exercises: the language text that holds each, and its English.
#pragma once

#include <string_view>

namespace kalvintor::app {

// The language text of the name of exercise 1..10.
constexpr int ExerciseNameText(int exercise) {
    return exercise * 200;
}

// The English name of exercise 1..10 ("" for any other number).
std::string_view ExerciseEnglishName(int exercise);

}  // namespace kalvintor::app
