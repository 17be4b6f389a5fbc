// The meter and value rules of the rhythm setup view.
#include "exercises/rhythm/ChoiceRules.h"

#include "exercises/rhythm/NoteValues.h"

namespace kalvintor::rhythm {

ChoiceButtons ButtonsFromSetup(const RhythmSetup& setup) {
    ChoiceButtons b;
    for (int m = 1; m <= kMeterCount; ++m) b.meters[static_cast<std::size_t>(m - 1)] = setup.meterChosen(m);
    for (int v = kWhole; v <= kShortestValue; ++v)
        b.values[static_cast<std::size_t>(v - 1)] = setup.valueChosen(v);
    for (int t = 0; t < kTripletValueCount; ++t)
        b.triplets[static_cast<std::size_t>(t)] = setup.tripletChosen(t + kHalf) || setup.allTriplets != 0;
    b.dotted = setup.dotted != 0;
    return b;
}

void StoreButtons(const ChoiceButtons& b, RhythmSetup& setup) {
    for (std::size_t i = 0; i < b.meters.size(); ++i) setup.meters[i] = b.meters[i] ? 1 : 0;
    for (std::size_t i = 0; i < b.values.size(); ++i) setup.noteValues[i] = b.values[i] ? 1 : 0;
    setup.triplets = 0;
    for (int t = 0; t < kTripletValueCount; ++t)
        if (b.triplets[static_cast<std::size_t>(t)]) setup.triplets |= tripletBit(t + kHalf);
    setup.allTriplets = 0;
    setup.dotted = b.dotted ? 1 : 0;
}

void ApplyMeterRule(ChoiceButtons& b) {
    int m = 0;
    for (std::size_t i = 0; i < b.meters.size(); ++i)
        if (b.meters[i] && (m == 0 || kMeterTags[i] < m)) m = kMeterTags[i];
    if (m == 0) {
        b.meters[kFourFourButton] = true;
        m = kMeterTags[kFourFourButton];
    }
    for (std::size_t i = 0; i < b.values.size(); ++i) {
        b.valueEnabled[i] = kValueTags[i] <= m;
        if (!b.valueEnabled[i]) b.values[i] = false;
    }
    for (std::size_t i = 0; i < b.triplets.size(); ++i) {
        b.tripletEnabled[i] = kTripletTags[i] <= m;
        if (!b.tripletEnabled[i]) b.triplets[i] = false;
    }
    ApplyValueRule(b);
}

void ApplyValueRule(ChoiceButtons& b, bool eighthClicked) {
    // The shortest chosen length; on equal lengths the first in the order values, then triplets.
    int v = 0;
    bool triplet = false;
    for (std::size_t i = 0; i < b.values.size(); ++i)
        if (b.values[i] && (v == 0 || kValueTags[i] < v)) v = kValueTags[i];
    for (std::size_t i = 0; i < b.triplets.size(); ++i) {
        if (b.triplets[i] && (v == 0 || kTripletTags[i] < v)) {
            v = kTripletTags[i];
            triplet = true;
        }
    }
    if (v == 0) {
        const std::size_t fallback = eighthClicked ? kQuarterButton : kEighthButton;
        b.values[fallback] = true;
        v = kValueTags[fallback];
    }
    for (std::size_t i = 0; i < b.meters.size(); ++i) {
        if (!b.meters[i]) continue;
        const int bar = kMeterTags[i];
        if (bar % 16 == 0 || bar % v == 0) continue;
        const int dottedLength = 3 * v / 2;
        if (b.dotted && !triplet && dottedLength > 0 && bar % dottedLength == 0) continue;
        b.values[kEighthButton] = true;
    }
}

}  // namespace kalvintor::rhythm
