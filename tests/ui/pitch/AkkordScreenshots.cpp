// Pictures of the six pitch exercises after an answer and a close-up of the staff at 2x, taken
// from the screen when KALVINTOR_SCREENSHOT_DIR names a folder (run under Xvfb on the xcb
// platform); skipped otherwise.
#include "app/Program.h"
#include "app/Random.h"
#include "app/TControlButton.h"
#include "app/Texts.h"
#include "exercises/pitch/PlayQuestion.h"
#include "notation/TSheet.h"
#include "pitch/NameButtons.h"
#include "pitch/TAkkord.h"
#include "sound/MidiMessage.h"
#include "theory/Naming.h"
#include "ui/ScreenCapture.h"
#include "ui/app/ExerciseTestDoubles.h"

#include <gtest/gtest.h>
#include <QApplication>

using namespace kalvintor;
using namespace kalvintor::ui;

namespace {

// The program directory of the build: the music font and the English language file.
void useProgramDirectory() {
    program().paths = app::makeProgramPaths(toPath(qEnvironmentVariable("KALVINTOR_PROGRAM_DIR")));
    LoadLanguage(languageFileName(QStringLiteral("English")), language::kLoadAll, nullptr);
}

// A host whose catalogue carries the names of the loaded language, as the main window's does.
class NamedHost final : public ui::testing::RecordingHost {
public:
    NamedHost() { theory::ApplyCatalogueNames(named_, program().language, "English"); }
    const theory::ChordCatalogue& catalogue() const override { return named_; }

private:
    theory::ChordCatalogue named_ = theory::BuiltInCatalogue();
};

struct Scene {
    int exercise;
    std::vector<int> entries;
    std::uint8_t panels;
    bool right;
    const char* file;
};

}  // namespace

TEST(AkkordScreenshots, EachExerciseAfterAnAnswer) {
    if (ui::testing::screenshotDir().isEmpty()) GTEST_SKIP() << "KALVINTOR_SCREENSHOT_DIR not set";
    using namespace pitch::answer_bits;
    const Scene scenes[] = {
        {1, {1, 2, 3, 4, 5, 6, 7, 9}, kByName | kPiano | kNotesheet, true, "pitch-chord-identification.png"},
        {2,
         {2, 3, 4, 5, 6, 8, 9, 10, 11, 12},
         kByName | kNotesheet,
         false,
         "pitch-interval-identification.png"},
        {7, {1, 2, 3, 4, 5, 6}, kByName | kGuitar, true, "pitch-chord-inversions.png"},
        {8, {1, 2, 5, 6, 7}, kByName | kNotesheet, true, "pitch-scales.png"},
        {9, {}, kNotesheet | kPiano, false, "pitch-melody-dictation.png"},
        {10, {1, 2, 3, 4, 5, 6}, kByName | kPiano | kNotesheet, true, "pitch-chord-progressions.png"},
    };
    useProgramDirectory();
    for (const Scene& s : scenes) {
        NamedHost host;
        if (s.exercise == 9) {
            auto melody = host.setup.melodyBlock();
            melody.tonic = 0;
            melody.rhythm = 1;
            melody.length = 6;
            host.setup.setMelodyBlock(melody);
        } else {
            auto block = host.setup.pitchBlock(s.exercise);
            block.entryEnabled.fill(0);
            for (int e : s.entries) block.entryEnabled[static_cast<std::size_t>(e - 1)] = 1;
            block.answerModes = 0;
            block.showKeySignature = 1;
            host.setup.setPitchBlock(s.exercise, block);
        }
        std::string device;
        host.out.SelectDeviceByName(device);
        app::SetRandomizeClock([] { return std::uint64_t{5}; });
        TAkkord window(s.exercise, host);
        window.setWindowFlag(Qt::FramelessWindowHint);
        window.setGeometry(0, 0, 1280, 900);
        window.show();
        window.ShowAnswerPanels(s.panels);
        window.NewQuestion();
        window.SeqNotify(pitch::play_codes::kPlaybackFinished);
        const auto& st = window.state();
        if (s.exercise == 9) {
            for (std::size_t i = 0; i < st.notes.size(); ++i) {
                const int p = st.notes[i].pitch + (i == 3 ? 2 : 0);
                window.MidiInput(sound::NoteOnMessage(0, static_cast<std::uint8_t>(p), 90));
                window.MidiInput(sound::NoteOffMessage(0, static_cast<std::uint8_t>(p)));
            }
            window.ButtonAction3();
        } else {
            int wrong = 0;
            for (int e : st.enabledList)
                if (e != st.entry && st.row(e).count == st.row(st.entry).count) wrong = e;
            window.PreviewAnswer(s.right || wrong == 0 ? st.entry : wrong, true);
        }
        ui::testing::captureScreen(QString::fromLatin1(s.file));
        app::SetRandomizeClock(nullptr);
    }
}

TEST(AkkordScreenshots, TheStaffCloseUpAtTwiceThePixelRatio) {
    if (ui::testing::screenshotDir().isEmpty()) GTEST_SKIP() << "KALVINTOR_SCREENSHOT_DIR not set";
    useProgramDirectory();
    TSheet sheet;
    sheet.resize(520, 260);
    sheet.keySig = 2;
    sheet.showKeySignature = true;
    sheet.showKeyName = true;
    sheet.keyName = QStringLiteral("D-major");
    sheet.chordLike = true;
    sheet.clefPreference = 0;
    sheet.StaffLayout(86, false);
    const auto note = [](int pitch, int spell, std::uint8_t end = 0) {
        pitch::QuestionNote n;
        n.pitch = pitch;
        n.spellOffset = spell;
        n.endMark = end;
        return kalvintor::notation::StaffNoteInput{n, kalvintor::notation::Ink::Pending};
    };
    using kalvintor::notation::Ink;
    std::vector<kalvintor::notation::StaffNoteInput> notes{
        note(60, 0),   note(62, 0), note(65, 0), note(69, 0, 1),  // C-D-F natural-A: D displaced
        note(70, 1),   note(74, 0), note(77, 0), note(81, 0, 1),  // B flat, F natural, A5 on a ledger line
        note(48, 0),   note(55, 0), note(63, 1), note(84, 0),
        note(86, 0, 2)};  // bass notes, E flat, C6 and D6 above
    for (std::size_t i = 8; i < notes.size(); ++i) notes[i].ink = Ink::Right;
    sheet.DrawStaff(notes);
    ASSERT_TRUE(sheet.render(2.0).save(ui::testing::screenshotDir() + "/pitch-staff-closeup-2x.png"));
}
