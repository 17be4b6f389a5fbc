// Setup files (.lvs): reading by size, the header check, saving, and the current setup with its
// saved copy as the main window keeps them.
#pragma once

#include "setup/SetupRecord.h"

#include <filesystem>
#include <functional>
#include <string>

namespace kalvintor::language {
class Language;
}

namespace kalvintor::setup {

enum class SetupReadStatus {
    Loaded,       // a current record
    Converted,    // an old record, converted
    Unreadable,   // the file could not be opened
    WrongHeader,  // neither version's header
    Truncated,    // shorter than a record: its setup could not be read
};

struct SetupRead {
    SetupReadStatus status = SetupReadStatus::Unreadable;
    SetupRecord record;  // the defaults unless Loaded or Converted
};

// 388 and 386 bytes are an old record; any other size is a current one, and a file too short for
// it is Truncated (with the built-in defaults as its record).
SetupRead readSetupFile(const std::filesystem::path& file);

enum class Choice { Yes, No, Cancel };

// The main window's side of loading and saving setups. Every member may be left empty: nothing is
// shown, no setup view is open, no tutor runs, and questions are answered No.
struct SetupHost {
    std::function<bool()> tutorActive;      // a tutor runs or the tutor editor is open
    std::function<bool()> setupViewShown;   // the exercise-setup view is the current view
    std::function<void()> takeSetupDialog;  // the setup dialog writes its controls into the setup
    std::function<void()> fillSetupDialog;  // the setup dialog shows the current setup
    std::function<void(const std::string& name)> showSetupName;
    std::function<void(bool resetResults)> applySetupAll;
    // Offers to save the results of exercises with 5 or more answers, then restarts the session.
    std::function<void()> closeSession;
    std::function<void(const std::string& text)> showError;
    std::function<void(const std::string& text)> showInformation;
    std::function<Choice(const std::string& question)> askYesNoCancel;
    // The "Save setup..." command with its dialog; false when the dialog was cancelled.
    std::function<bool()> saveSetupAs;
};

inline constexpr std::size_t kSetupNameRoom = 150;

class SetupSession {
public:
    explicit SetupSession(SetupHost host = {}, const language::Language* language = nullptr);

    SetupRecord current = DefaultSetup();
    SetupRecord savedCopy = DefaultSetup();
    std::string setupName;
    bool setupChanged = false;
    bool setupLoaded = false;

    bool LoadSetupFile(const std::string& name, bool quiet);
    // False when the file could not be written; the setup name then stays the old one.
    bool SaveSetupFile(const std::string& name);
    void UseDefaultSetup();
    bool ConfirmSetupChange();
    // The setup view is left: whatever its dialog changed becomes the saved copy.
    void LeaveSetupView();

    SetupHost& host() { return host_; }

private:
    std::string text(int id, std::string_view english) const;
    void afterLoad();

    SetupHost host_;
    const language::Language* language_;
};

}  // namespace kalvintor::setup
