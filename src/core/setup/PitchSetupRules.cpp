// The rules of the pitch and melody setup views.
#include "setup/PitchSetupRules.h"

#include "theory/Tables.h"

#include <algorithm>
#include <array>

namespace kalvintor::setup {

namespace {

bool isBlank(int index) {
    return index == 1 || index == 9 || index == 23;
}
bool isHeading(int index) {
    return index == 2 || index == 10 || index == 24;
}

constexpr std::array<int, 7> kWhiteFromF{0, 2, 4, 6, 7, 9, 11};
constexpr int kOctaveWidth = 7 * kPianoWhiteKey;
constexpr int kPianoHighest = kPianoLowest + 5 * 12;

constexpr std::array<int, kGuitarFrets> kFretX{11,  38,  63,  85,  105, 124, 142, 158, 173, 187, 200,
                                               213, 225, 237, 248, 258, 268, 277, 286, 295, 302};
constexpr int kStringGap = 6;

constexpr int kStaffSplit = 70;
constexpr int kTrebleLowest = 60;
constexpr int kStaffHighest = 108;
constexpr int kBassHighest = 59;
constexpr int kDragAlteration = 20;

int whitePitch(int white) {
    return kPianoLowest + 12 * (white / 7) + kWhiteFromF[static_cast<std::size_t>(white % 7)];
}

struct PictureBounds {
    int lowest;
    int lowestUpper;
    int highest;
};
PictureBounds bounds(PickerPicture picture) {
    switch (picture) {
        case PickerPicture::Piano:
            return {kPianoLowest, kPianoLowest + 1, kPianoHighest};
        case PickerPicture::Guitar:
            return {kGuitarLowest, kGuitarLowest + 1, kGuitarHighest};
        case PickerPicture::Staff:
            break;
    }
    return {kPianoLowest, kPianoLowest + 1, kStaffHighest};
}

}  // namespace

bool isRootMovementChoice(int index) {
    return index >= 0 && index < kRootMovementCount && !isBlank(index) && !isHeading(index);
}

int settleRootMovement(int index) {
    if (isBlank(index)) return index + 2;
    if (isHeading(index)) return index - 2;
    return isRootMovementChoice(index) ? index : 0;
}

std::uint8_t storedRootMovement(int index) {
    return isRootMovementChoice(index) ? static_cast<std::uint8_t>(index) : 0;
}

int minLimitDistance(int rootMovement) {
    return rootMovement < 3 ? 1 : 11;
}

PickerPicture pickerPicture(int answerPicture) {
    if (answerPicture == 2) return PickerPicture::Piano;
    if (answerPicture == 4) return PickerPicture::Guitar;
    return PickerPicture::Staff;
}

PitchLimits moveLimit(PitchLimits limits, LimitMarker marker, int pitch, int distance,
                      PickerPicture picture) {
    const PictureBounds b = bounds(picture);
    if (marker == LimitMarker::Lower) {
        const int highest = limits.upper - distance;
        if (highest < b.lowest) return limits;
        limits.lower = std::clamp(pitch, b.lowest, highest);
    } else if (marker == LimitMarker::Upper) {
        const int lowest = std::max(limits.lower + distance, b.lowestUpper);
        if (lowest > b.highest) return limits;
        limits.upper = std::clamp(pitch, lowest, b.highest);
    }
    return limits;
}

PitchLimits keepDistance(PitchLimits limits, int distance) {
    if (limits.upper < limits.lower + distance) limits.upper = limits.lower + distance;
    return limits;
}

LimitMarker markerAtPitch(PitchLimits limits, int pitch) {
    const bool lower = pitch == limits.lower;
    const bool upper = pitch == limits.upper;
    if (lower && upper) return pitch < 60 ? LimitMarker::Lower : LimitMarker::Upper;
    if (lower) return LimitMarker::Lower;
    if (upper) return LimitMarker::Upper;
    return LimitMarker::None;
}

int pianoPitchAt(int x, int y) {
    x = std::max(x, 0);
    const int position = x % kOctaveWidth;
    const bool white =
        y >= kPianoBlackHeight || position < 5 || (position >= 37 && position <= 47) || position > 69;
    int pitch = white ? whitePitch(x / kPianoWhiteKey) : whitePitch(std::max(x - 5, 0) / kPianoWhiteKey) + 1;
    return std::min(pitch, kPianoHighest);
}

bool isBlackKey(int pitch) {
    const int d = theory::floorMod(pitch, 12);
    return d == 1 || d == 3 || d == 6 || d == 8 || d == 10;
}

int pianoKeyCentre(int pitch) {
    const int white = isBlackKey(pitch) ? pitch - 1 : pitch;
    const int fromF = white - kPianoLowest;
    const int octave = theory::floorDiv(fromF, 12);
    const int inOctave = theory::floorMod(fromF, 12);
    int index = 0;
    while (index < 6 && kWhiteFromF[static_cast<std::size_t>(index)] < inOctave) ++index;
    const int w = octave * 7 + index;
    return isBlackKey(pitch) ? (w + 1) * kPianoWhiteKey : w * kPianoWhiteKey + kPianoWhiteKey / 2;
}

int guitarFretX(int fret) {
    return kFretX[static_cast<std::size_t>(std::clamp(fret, 1, kGuitarFrets) - 1)];
}

int guitarPitchAt(int x, int y) {
    int fret = 0;
    if (x >= kFretX[0]) {
        fret = kGuitarFrets - 1;
        for (int i = 1; i < kGuitarFrets; ++i) {
            if (x < kFretX[static_cast<std::size_t>(i)]) {
                fret = i;
                break;
            }
        }
    }
    const int string = std::clamp(y / kStringGap + 1, 1, theory::kGuitarStrings);
    return std::clamp(theory::GuitarOpenStrings[static_cast<std::size_t>(string)] + fret, kGuitarLowest,
                      kGuitarHighest);
}

int staffPitchAt(int y, int dragX) {
    const int alteration = dragX > kDragAlteration ? 1 : dragX < -kDragAlteration ? -1 : 0;
    if (y < kStaffSplit) {
        const int step = theory::floorDiv(366 - 2 * y, 8);
        return std::clamp(theory::StepSemitones(step) + alteration, kTrebleLowest, kStaffHighest);
    }
    // The bass staff is drawn 28 pixels lower than the treble staff's continuation.
    const int step = theory::floorDiv(430 - 2 * y, 8);
    return std::clamp(theory::StepSemitones(step) + alteration, kPianoLowest, kBassHighest);
}

int staffY(int pitch) {
    // The natural letter at or below the pitch: its diatonic step from C-1.
    const int octave = theory::floorDiv(pitch, 12);
    const int inOctave = theory::floorMod(pitch, 12);
    constexpr std::array<int, 12> letter{0, 0, 1, 1, 2, 3, 3, 4, 4, 5, 5, 6};
    const int step = octave * 7 + letter[static_cast<std::size_t>(inOctave)];
    return pitch >= kTrebleLowest ? 181 - 4 * step : 213 - 4 * step;
}

void settleOfferedEntries(std::array<std::uint8_t, pitch::kEntryFlagCount>& offered,
                          const theory::CatalogueTable& table, int shown) {
    bool any = false;
    for (int n = 1; n <= pitch::kEntryFlagCount; ++n) {
        std::uint8_t& flag = offered[static_cast<std::size_t>(n - 1)];
        if (flag != 0 && (n > shown || table.entry(n).count == 0)) flag = 0;
        any = any || flag != 0;
    }
    if (!any) offered[0] = 1;
}

}  // namespace kalvintor::setup
