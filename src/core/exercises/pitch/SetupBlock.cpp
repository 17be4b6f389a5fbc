// Reading, writing and the built-in defaults of the pitch exercises' setup block.
#include "exercises/pitch/SetupBlock.h"

#include <algorithm>

namespace kalvintor::pitch {

namespace o = block_offsets;

std::optional<SetupBlock> decodeSetupBlock(records::Bytes bytes) {
    if (bytes.size() != kSetupBlockSize) return std::nullopt;
    SetupBlock b;
    std::copy_n(bytes.begin() + o::kEntryEnabled, kEntryFlagCount, b.entryEnabled.begin());
    b.playTogether = bytes[o::kPlayTogether];
    b.arpeggioUp = bytes[o::kArpeggioUp];
    b.arpeggioDown = bytes[o::kArpeggioDown];
    b.showKeySignature = bytes[o::kShowKeySignature];
    b.answerInC = bytes[o::kAnswerInC];
    b.reserved65 = bytes[o::kReserved65];
    b.answerModes = bytes[o::kAnswerModes];
    b.playToneOnClick = bytes[o::kPlayToneOnClick];
    b.showFirstTone = bytes[o::kShowFirstTone];
    b.autoAnswer = bytes[o::kAutoAnswer];
    b.tonic = bytes[o::kTonic];
    b.rootMovement = bytes[o::kRootMovement];
    b.option = bytes[o::kOption];
    std::copy_n(bytes.begin() + o::kReserved73, b.reserved73.size(), b.reserved73.begin());
    b.upperLimit = bytes[o::kUpperLimit];
    b.lowerLimit = bytes[o::kLowerLimit];
    return b;
}

SetupBlockBytes encodeSetupBlock(const SetupBlock& b) {
    SetupBlockBytes bytes{};
    std::copy(b.entryEnabled.begin(), b.entryEnabled.end(), bytes.begin() + o::kEntryEnabled);
    bytes[o::kPlayTogether] = b.playTogether;
    bytes[o::kArpeggioUp] = b.arpeggioUp;
    bytes[o::kArpeggioDown] = b.arpeggioDown;
    bytes[o::kShowKeySignature] = b.showKeySignature;
    bytes[o::kAnswerInC] = b.answerInC;
    bytes[o::kReserved65] = b.reserved65;
    bytes[o::kAnswerModes] = b.answerModes;
    bytes[o::kPlayToneOnClick] = b.playToneOnClick;
    bytes[o::kShowFirstTone] = b.showFirstTone;
    bytes[o::kAutoAnswer] = b.autoAnswer;
    bytes[o::kTonic] = b.tonic;
    bytes[o::kRootMovement] = b.rootMovement;
    bytes[o::kOption] = b.option;
    std::copy(b.reserved73.begin(), b.reserved73.end(), bytes.begin() + o::kReserved73);
    bytes[o::kUpperLimit] = b.upperLimit;
    bytes[o::kLowerLimit] = b.lowerLimit;
    return bytes;
}

SetupBlock defaultSetupBlock(PitchExercise exercise) {
    SetupBlock b;
    auto enable = [&b](std::initializer_list<int> entries) {
        for (int entry : entries) b.entryEnabled[static_cast<std::size_t>(entry - 1)] = 1;
    };
    switch (exercise) {
        case PitchExercise::Chords:
            enable({1, 2});
            break;
        case PitchExercise::Inversions:
            enable({1, 2, 3, 4, 5, 6});
            break;
        case PitchExercise::Intervals:
        case PitchExercise::IntervalComparison:
            enable({1, 5, 8, 13});
            break;
        case PitchExercise::Scales:
            enable({1, 6});
            b.showKeySignature = 0;
            break;
        case PitchExercise::Progressions:
            enable({1, 2});
            b.showKeySignature = 0;
            b.playToneOnClick = 0;
            b.tonic = 0;
            break;
    }
    return b;
}

}  // namespace kalvintor::pitch
