// Everything the staff shows, laid out in pixels at 1x: key signature, note columns with their
// heads, accidentals and ledger lines, bar lines and step labels. The window paints it.
#pragma once

#include "exercises/pitch/Question.h"
#include "notation/StaffGeometry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kalvintor::notation {

// Fixed horizontal places of the staff's furniture.
inline constexpr int kLinesLeft = 16;
inline constexpr int kLinesRightMargin = 18;
inline constexpr int kBraceLeft = 2;
inline constexpr int kClefX = 18;
inline constexpr int kKeySigX = 51;
inline constexpr int kKeySigStep = 8;
inline constexpr int kKeyNameX = 38;
inline constexpr int kDisplacement = 14;
inline constexpr int kAccidentalStagger = 9;
// White space between an accidental and its head, in staff spaces.
inline constexpr double kSignGapSpaces = 0.3;

// How a note is inked: entered but not judged, judged right or wrong, or the question shown
// behind the answer.
enum class Ink { Pending, Right, Wrong, Question, Held };

struct StaffNoteInput {
    pitch::QuestionNote note;
    Ink ink = Ink::Pending;
};

struct StaffInputs {
    int width = 600;
    StaffGeometry geometry;
    int keySig = 0;
    bool showKeySignature = false;
    bool chordLike = false;
    int clefPreference = 0;  // <0: every note on the lower staff
    bool stepLabels = false;
    std::vector<StaffNoteInput> notes;
};

struct SignMark {
    int x = 0;
    int y = 0;
    int alteration = 0;  // -2..+2, 0 natural
};

struct HeadMark {
    int index = 0;  // into the inputs' notes
    int x = 0;      // left edge of the head
    int y = 0;
    bool lowerStaff = false;
    bool displaced = false;
    bool stemDown = false;
    std::uint8_t noteValue = 0;
    Ink ink = Ink::Pending;
    int ledgerCount = 0;
    bool ledgerAbove = false;
    std::optional<SignMark> sign;
};

struct BarLine {
    int x = 0;
    bool doubled = false;
};

struct StepLabel {
    int x = 0;  // centre
    int y = 0;
    std::string text;
};

struct KeySigMark {
    int x = 0;
    int y = 0;
    int alteration = 0;
};

struct StaffPicture {
    StaffGeometry geometry;
    int width = 0;
    int linesRight = 0;
    int firstColumnX = 0;
    int columnStep = 0;
    std::vector<KeySigMark> keySignature;
    std::vector<HeadMark> heads;  // only the notes that fit on the staff
    std::vector<BarLine> bars;
    std::vector<StepLabel> stepLabels;
    std::vector<int> columnX;  // per input note, its column's x (hit tests, labels); -1 off-screen
};

// Width of a whole-note head at 1x, in pixels per staff space.
inline constexpr double kHeadWidthSpaces = 1.688;

StaffPicture LayoutStaff(const StaffInputs& inputs);

// The first column's x for a key signature of `keySig` (shown or not).
int FirstColumnX(int keySig, bool shown);

// The note held while it is entered on the notesheet, at column x on the staff the input chose:
// its head, ledger lines and the sign it needs against the key signature.
HeadMark HeldNoteMark(const StaffGeometry& g, const pitch::QuestionNote& note, int x, bool lowerStaff,
                      int keySig, bool keySignatureShown);

// The entered note (index into the inputs) within 7 pixels horizontally and 4 vertically of a
// point, for the notesheet's delete tool.
std::optional<int> NoteNear(const StaffPicture& picture, int x, int y);

// Whether a point lies left of the first column and within the staves (the tonic replays there).
bool InClefArea(const StaffPicture& picture, int x, int y);

}  // namespace kalvintor::notation
