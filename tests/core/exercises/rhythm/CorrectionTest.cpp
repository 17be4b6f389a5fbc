// The correction exercise: which note a press marks, and the points for the marks.
#include "exercises/rhythm/Correction.h"

#include <gtest/gtest.h>

using namespace kalvintor::rhythm;

TEST(Correction, APressMarksTheLastNoteOnItsRowAtOrLeftOfItAndAnEmptyRowMarksTheFirst) {
    Voice notes(4);
    const int xs[] = {47, 90, 140, 47};
    const int rows[] = {0, 0, 0, 1};
    for (std::size_t i = 0; i < notes.size(); ++i) {
        notes[i].x = xs[i];
        notes[i].row = rows[i];
    }
    EXPECT_EQ(NoteAtPress(notes, 30, 20), std::nullopt) << "left of the first note";
    EXPECT_EQ(NoteAtPress(notes, 44, 20), 0);
    EXPECT_EQ(NoteAtPress(notes, 87, 20), 1) << "4 pixels of slack before the head";
    EXPECT_EQ(NoteAtPress(notes, 300, 20), 2);
    EXPECT_EQ(NoteAtPress(notes, 60, 64 + 20), 3);
    EXPECT_EQ(NoteAtPress(notes, 60, 3 * 64 + 20), 0) << "a row with no notes";
}

TEST(Correction, MarksScoreAgainstTheNotesTheChangesInvolve) {
    // A tie involves two notes, a split one.
    const std::vector<InjectedError> errors{{2, ErrorKind::Tied}, {6, ErrorKind::Split}};
    EXPECT_EQ(InvolvedNotes(errors), (std::set<int>{2, 3, 6}));
    struct Case {
        std::set<int> marks;
        int points;
        bool correct;
    };
    for (const Case& c : {Case{{2, 3, 6}, 100, true}, Case{{2, 3, 6, 0}, (300 - 50) / 3, false},
                          Case{{2, 0, 1, 4}, 0, false}, Case{{}, 0, false}}) {
        const CorrectionCheck check = CheckMarks(errors, c.marks);
        EXPECT_EQ(check.points, c.points);
        EXPECT_EQ(check.correct, c.correct);
        EXPECT_EQ(check.expected, 3);
    }
}
