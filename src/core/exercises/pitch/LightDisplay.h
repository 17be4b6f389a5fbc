// The light display: while the answer or, once judged, the question plays, the notes light on
// the staff and the instruments as they sound.
#pragma once

#include "exercises/pitch/Question.h"
#include "sound/Timeline.h"

#include <cstdint>
#include <vector>

namespace kalvintor::pitch {

// The light-display timer's step.
inline constexpr int kLightStepMs = 150;

// One shown note lit from onMs until offMs (playback milliseconds).
struct LightSpan {
    int index = 0;  // into the shown notes
    double onMs = 0;
    double offMs = 0;
};

// Pairs the notes a playback sounds with the shown notes it plays: each note-on of the question
// track on `channel` lights the first shown note in [from, to) of that sounding pitch (written
// pitch + transposition) that is not lit yet, so repeated pitches of a melody light in turn; its
// note-off, or an all-notes-off, ends it. Notes still sounding end with the playback.
std::vector<LightSpan> LightSpans(const sound::Timeline& timeline, const std::vector<QuestionNote>& shown,
                                  std::size_t from, std::size_t to, int transposition, std::uint8_t channel);

// The shown notes lit at a moment, in index order.
std::vector<int> LitAt(const std::vector<LightSpan>& spans, double ms);

// When the last light goes out (0 for none).
double LightsOutMs(const std::vector<LightSpan>& spans);

}  // namespace kalvintor::pitch
