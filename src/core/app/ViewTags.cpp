// Tag decoding.
#include "app/ViewTags.h"

namespace kalvintor::app {

ViewChoice DecodeTag(int tag, int currentExercise, int currentView) {
    ViewChoice choice;
    const int e = tag % 256;
    choice.exercise = e == 0 ? currentExercise : e == 255 ? 0 : e;
    const int v = (tag / 256) % 16;
    choice.view = v != 0 ? v : currentView;
    return choice;
}

}  // namespace kalvintor::app
