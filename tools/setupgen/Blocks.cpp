// Writing exercise blocks from musical choices.
#include "Blocks.h"

namespace kalvintor::setupgen {

void setPitch(setup::SetupRecord& record, pitch::PitchExercise exercise, const PitchLevel& level) {
    const int number = static_cast<int>(exercise);
    pitch::SetupBlock block = record.pitchBlock(number);
    block.entryEnabled.fill(0);
    for (int entry : level.entries) block.entryEnabled[static_cast<std::size_t>(entry - 1)] = 1;
    block.playTogether = level.styles.together ? 1 : 0;
    block.arpeggioUp = level.styles.up ? 1 : 0;
    block.arpeggioDown = level.styles.down ? 1 : 0;
    block.lowerLimit = static_cast<std::uint8_t>(level.lower);
    block.upperLimit = static_cast<std::uint8_t>(level.upper);
    record.setPitchBlock(number, block);
}

void setRhythm(setup::SetupRecord& record, rhythm::RhythmExercise exercise, const RhythmLevel& level) {
    const int number = static_cast<int>(exercise);
    rhythm::RhythmSetup block = record.rhythmBlock(number);
    block.meters.fill(0);
    for (int meter : level.meters) block.meters[static_cast<std::size_t>(meter - 1)] = 1;
    block.noteValues.fill(0);
    for (int value : level.values) block.noteValues[static_cast<std::size_t>(value - 1)] = 1;
    block.tempo = static_cast<std::uint8_t>(level.tempo);
    block.bars = static_cast<std::uint8_t>(level.bars);
    block.rests = level.rests ? 1 : 0;
    block.dotted = level.dotted ? 1 : 0;
    block.ties = level.ties ? 1 : 0;
    block.triplets = level.triplets;
    block.errors = static_cast<std::uint8_t>(level.errors);
    block.strictness = static_cast<std::int16_t>(level.strictness);
    record.setRhythmBlock(number, block);
}

}  // namespace kalvintor::setupgen
