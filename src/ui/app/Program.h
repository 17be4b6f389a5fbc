// Process-wide state of the program: directories, machine values, the loaded language, and the
// windows and shared objects that the entry and the main window create once.
#pragma once

#include "Pictures.h"
#include "app/ProgramPaths.h"
#include "language/Language.h"

#include <QString>

#include <array>
#include <filesystem>

class QWidget;

namespace kalvintor::ui {

class TVelkommen;
class TKalvintorMain;

inline constexpr int kExerciseCount = 10;

struct Program {
    app::ProgramPaths paths;   // ProgramDir, LanguageDir, MediaDir, DataPath, default setup file
    bool firstRun = true;      // FirstRun: the machine values say this is the first start
    bool highColour = true;    // HighColour: the display has more than 8 bits per pixel
    language::Language language;
    std::filesystem::path privateDirectory;  // the logged-in user's; empty for a guest
    QString helpFile;          // the help file chosen after the last language load
    // Windows of the exercises, index = exercise number (0 unused); filled in exercise order by the
    // program entry as each exercise window exists.
    std::array<QWidget*, kExerciseCount + 1> exerciseWindows{};
    ImageLists imageLists;     // drawn when first used: imageLists()
    TVelkommen* welcome = nullptr;
    TKalvintorMain* mainWindow = nullptr;
};

Program& program();

// The image lists, made at the screen's pixel ratio when no main window has made them yet.
const ImageLists& imageLists();

// Path helpers between std::filesystem and Qt.
QString toQString(const std::filesystem::path& path);
std::filesystem::path toPath(const QString& path);

}  // namespace kalvintor::ui
