// The notesheet of a pitch exercise: the grand staff with the key of the question, the answer
// and, after judging, the question behind it; notes are entered by clicking and dragging.
#pragma once

#include "notation/StaffInput.h"
#include "notation/StaffPainter.h"
#include "notation/StaffPicture.h"

#include <QPixmap>
#include <QWidget>

#include <optional>
#include <vector>

namespace kalvintor::ui {

class TSheet final : public QWidget {
    Q_OBJECT
public:
    enum class Tool { Add, Delete };

    explicit TSheet(QWidget* parent = nullptr);

    // The key context and options of the current question.
    bool showKeySignature = false;
    bool chordLike = false;
    bool showKeyName = false;
    bool showSolfege = false;
    bool stepLabels = false;
    int keySig = 0;
    bool minor = false;
    int tonicOffset = 0;
    int clefPreference = 0;
    int inputStaff = 0;  // +-2 fixed; 0 free (the press that starts an entry chooses +-1)
    int shift = 0;
    int lowestPitch = 36;
    int highestPitch = 108;
    QString keyName;

    // Chooses spacing and top for the box and the question's highest pitch.
    void StaffLayout(int highest, bool progression);
    // The notes to show with their inks, boxed names above some columns, the steps and names of
    // progression chords below the staves, and the notes sounding now (indices into `notes`).
    void DrawStaff(std::vector<kalvintor::notation::StaffNoteInput> notes,
                   std::vector<notation::ColumnLabel> labels = {},
                   std::vector<notation::ChordMark> chords = {}, std::vector<int> lit = {});
    const std::vector<notation::ChordMark>& chordMarks() const { return chords_; }
    const std::vector<int>& litNotes() const { return lit_; }
    // The note held while it is entered (pitch 0: none), drawn at the insertion marker.
    void DrawHeldNote(const pitch::QuestionNote& note, const QString& name);

    Tool tool() const { return tool_; }
    void setTool(Tool tool);
    const kalvintor::notation::StaffPicture& picture() const { return picture_; }
    const kalvintor::notation::StaffGeometry& geometry() const { return geometry_; }
    // The x where a new note's column stands: after the last entered note.
    int markerX() const;
    // The staff as an image at a device pixel ratio (screenshots, the benchmark).
    QPixmap render(qreal devicePixelRatio) const;

signals:
    // A press on the staff holds a note; dragging changes it; the release enters it.
    void notePressed(const pitch::QuestionNote& note);
    void noteChanged(const pitch::QuestionNote& note);
    void noteReleased(const pitch::QuestionNote& note);
    // The delete tool pressed on an entered note (index into the shown notes).
    void deleteRequested(int index);
    // A press left of the first column: replay the tonic.
    void clefClicked();
    void toolChanged(Tool tool);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    pitch::QuestionNote noteAt(int x, int y) const;
    void relayout();

    kalvintor::notation::StaffGeometry geometry_;
    kalvintor::notation::StaffPicture picture_;
    std::vector<kalvintor::notation::StaffNoteInput> notes_;
    std::vector<notation::ColumnLabel> labels_;
    std::vector<notation::ChordMark> chords_;
    std::vector<int> lit_;
    std::optional<notation::HeldMark> held_;
    int layoutHighest_ = 72;
    bool layoutProgression_ = false;

    // An entry in progress.
    bool pressing_ = false;
    int entryStaff_ = 0;
    int anchorX_ = 0;
    int keyAlteration_ = 0;
    bool keyAlterationSet_ = false;
    int dragAlteration_ = 0;
    int lastY_ = 0;
    pitch::QuestionNote pressed_;
    Tool tool_ = Tool::Add;
};

}  // namespace kalvintor::ui
