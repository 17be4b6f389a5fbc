// The start-menu tune.
#include "IntroTune.h"

#include "sound/MidiFile.h"
#include "sound/MidiMessage.h"

namespace kalvintor::mediagen {

namespace {

using sound::MidiFileEvent;

constexpr std::uint16_t kDivision = 480;                   // ticks per quarter note
constexpr std::uint32_t kMicrosecondsPerQuarter = 535714;  // 112 beats a minute
constexpr std::uint8_t kMelodyChannel = 0;
constexpr std::uint8_t kBassChannel = 1;
constexpr std::uint8_t kVibraphone = 11;
constexpr std::uint8_t kAcousticBass = 32;
constexpr std::uint8_t kMelodyVelocity = 96;
constexpr std::uint8_t kBassVelocity = 84;

struct Note {
    double beat;    // start, in quarter notes
    double length;  // in quarter notes
    std::uint8_t key;
};

// Eight bars of melody and a bass line under it.
const Note kMelody[] = {
    {0, 1, 64},  {1, 1, 67},    {2, 2, 72},                                       // bar 1
    {4, 1, 71},  {5, 0.5, 69},  {5.5, 0.5, 67},  {6, 2, 69},                      // bar 2
    {8, 1, 65},  {9, 1, 69},    {10, 1, 74},     {11, 1, 72},                     // bar 3
    {12, 2, 71}, {14, 2, 67},                                                     // bar 4
    {16, 1, 76}, {17, 0.5, 74}, {17.5, 0.5, 72}, {18, 1, 74},   {19, 1, 67},      // bar 5
    {20, 1, 72}, {21, 0.5, 71}, {21.5, 0.5, 69}, {22, 2, 71},                     // bar 6
    {24, 1, 69}, {25, 1, 72},   {26, 1, 77},     {27, 0.5, 76}, {27.5, 0.5, 74},  // bar 7
    {28, 4, 72},                                                                  // bar 8
};
const Note kBass[] = {
    {0, 2, 48},  {2, 2, 43},  {4, 2, 43},  {6, 2, 45},  {8, 2, 41},  {10, 2, 38}, {12, 2, 43}, {14, 2, 43},
    {16, 2, 48}, {18, 2, 43}, {20, 2, 45}, {22, 2, 40}, {24, 2, 41}, {26, 2, 43}, {28, 4, 36},
};

std::uint32_t Ticks(double beats) {
    return static_cast<std::uint32_t>(beats * kDivision);
}

void Add(std::vector<MidiFileEvent>& events, std::uint8_t channel, std::uint8_t velocity, const Note& n) {
    const std::uint32_t on = sound::NoteOnMessage(channel, n.key, velocity);
    const std::uint32_t off = sound::NoteOffMessage(channel, n.key);
    auto bytes = [](std::uint32_t m) {
        return std::vector<std::uint8_t>{sound::StatusOf(m), sound::Data1Of(m), sound::Data2Of(m)};
    };
    // Notes stop a little early, so repeated keys are struck anew.
    events.push_back({Ticks(n.beat), bytes(on)});
    events.push_back({Ticks(n.beat + n.length) - kDivision / 16, bytes(off)});
}

}  // namespace

std::vector<std::uint8_t> IntroTune() {
    std::vector<MidiFileEvent> events;
    events.push_back({0,
                      {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(kMicrosecondsPerQuarter >> 16),
                       static_cast<std::uint8_t>(kMicrosecondsPerQuarter >> 8),
                       static_cast<std::uint8_t>(kMicrosecondsPerQuarter)}});
    const std::uint32_t melodyProgram = sound::ProgramChangeMessage(kMelodyChannel, kVibraphone);
    const std::uint32_t bassProgram = sound::ProgramChangeMessage(kBassChannel, kAcousticBass);
    events.push_back({0, {sound::StatusOf(melodyProgram), sound::Data1Of(melodyProgram)}});
    events.push_back({0, {sound::StatusOf(bassProgram), sound::Data1Of(bassProgram)}});
    for (const Note& n : kMelody) Add(events, kMelodyChannel, kMelodyVelocity, n);
    for (const Note& n : kBass) Add(events, kBassChannel, kBassVelocity, n);
    return sound::WriteMidiFile(kDivision, std::move(events));
}

}  // namespace kalvintor::mediagen
