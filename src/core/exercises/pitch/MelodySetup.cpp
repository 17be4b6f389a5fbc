// Reading, writing and the built-in default of the melody setup block.
#include "exercises/pitch/MelodySetup.h"

#include <algorithm>

namespace kalvintor::pitch {

namespace o = melody_offsets;

std::optional<MelodySetup> decodeMelodySetup(records::Bytes bytes) {
    if (bytes.size() != kMelodySetupSize) return std::nullopt;
    MelodySetup m;
    m.length = bytes[o::kLength];
    m.largestLeap = bytes[o::kLargestLeap];
    m.ambitus = bytes[o::kAmbitus];
    m.melodyType = bytes[o::kMelodyType];
    std::copy_n(bytes.begin() + o::kKeys, kMelodyKeyCount, m.keys.begin());
    m.reserved16 = bytes[o::kReserved16];
    m.showKeySignature = bytes[o::kShowKeySignature];
    m.tonic = bytes[o::kTonic];
    m.playToneOnClick = bytes[o::kPlayToneOnClick];
    m.answerModes = bytes[o::kAnswerModes];
    m.autoAnswer = bytes[o::kAutoAnswer];
    m.showFirstTone = bytes[o::kShowFirstTone];
    m.reserved23 = bytes[o::kReserved23];
    m.rhythm = bytes[o::kRhythm];
    std::copy_n(bytes.begin() + o::kReserved25, m.reserved25.size(), m.reserved25.begin());
    m.upperLimit = bytes[o::kUpperLimit];
    m.lowerLimit = bytes[o::kLowerLimit];
    return m;
}

MelodySetupBytes encodeMelodySetup(const MelodySetup& m) {
    MelodySetupBytes bytes{};
    bytes[o::kLength] = m.length;
    bytes[o::kLargestLeap] = m.largestLeap;
    bytes[o::kAmbitus] = m.ambitus;
    bytes[o::kMelodyType] = m.melodyType;
    std::copy(m.keys.begin(), m.keys.end(), bytes.begin() + o::kKeys);
    bytes[o::kReserved16] = m.reserved16;
    bytes[o::kShowKeySignature] = m.showKeySignature;
    bytes[o::kTonic] = m.tonic;
    bytes[o::kPlayToneOnClick] = m.playToneOnClick;
    bytes[o::kAnswerModes] = m.answerModes;
    bytes[o::kAutoAnswer] = m.autoAnswer;
    bytes[o::kShowFirstTone] = m.showFirstTone;
    bytes[o::kReserved23] = m.reserved23;
    bytes[o::kRhythm] = m.rhythm;
    std::copy(m.reserved25.begin(), m.reserved25.end(), bytes.begin() + o::kReserved25);
    bytes[o::kUpperLimit] = m.upperLimit;
    bytes[o::kLowerLimit] = m.lowerLimit;
    return bytes;
}

MelodySetup defaultMelodySetup() {
    return MelodySetup{};
}

}  // namespace kalvintor::pitch
