// The changed copy of a rhythm that the correction exercise plays: a few notes tied, split or
// swapped.
#pragma once

#include "exercises/rhythm/MeterTable.h"
#include "exercises/rhythm/RhythmNote.h"

#include <cstdint>
#include <vector>

namespace kalvintor::rhythm {

enum class ErrorKind : std::uint8_t {
    Tied = 0,     // the note is tied to the next one
    Split = 1,    // the note is played as two of half its length
    Swapped = 2,  // the note and the next one change places
};

struct InjectedError {
    int note = 0;  // index into the written voice
    ErrorKind kind = ErrorKind::Tied;

    friend bool operator==(const InjectedError&, const InjectedError&) = default;
};

inline constexpr int kMaxErrors = 5;

// Whether an error of `kind` can be made at note `a` of `voice`.
bool errorApplies(const Voice& voice, std::size_t a, ErrorKind kind);

// Picks up to `wanted` error notes at random (never two on neighbouring notes), sorted by note.
// Gives up with false after more than 100 picks of notes where no error applies.
bool PickErrors(const Voice& voice, int wanted, std::vector<InjectedError>& errors);

// Voice 1: the written voice with the errors applied, beamed for `meter`.
Voice ApplyErrors(const Voice& written, const std::vector<InjectedError>& errors, const Meter& meter);

}  // namespace kalvintor::rhythm
