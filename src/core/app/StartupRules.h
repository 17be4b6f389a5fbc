// Rules of the start-up dialogue that need no window: the setup named on the command line, the
// state of the data directory and its files, the login name of a guest, and whose settings apply.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kalvintor::app {

// An existing file whose extension, in any case, is ".lvs".
bool IsSetupArgument(const std::filesystem::path& argument);

enum class DirectoryState {
    Ready,         // exists and takes new files
    Created,       // was missing and has been made
    Missing,       // missing and could not be made
    NotDirectory,  // the name is taken by a file
    ReadOnly       // exists but takes no new files
};

// Makes the data directory when it is missing (with its parents) and checks that files can be
// created in it. A ready or created directory without a user file gets an empty one, so that
// every tool recognises the directory as a data directory from the first start on.
DirectoryState PrepareDataDirectory(const std::filesystem::path& dir);

enum class FileProblem { None, Unreadable, Truncated, Oversized, ReadOnly };

struct DataFileState {
    std::string file;  // the file's name in the data directory
    FileProblem problem = FileProblem::None;
};

// The four shared files of a data directory: User.dat, Class.dat, Common.dat, Setting.dat.
// A file whose size is no whole number of records (Common.dat: exactly one) cannot be read as
// the program wrote it; a missing file is no problem.
std::vector<DataFileState> CheckDataFiles(const std::filesystem::path& dir);

// True when the file of that name was found damaged or unreadable (not merely read-only).
bool Damaged(const std::vector<DataFileState>& states, std::string_view file);

// The name typed into the login dialog asks for a guest session: guests are allowed and the name
// is empty, the dialog was cancelled, or it is the guest name (compared in upper case).
bool IsGuestLogin(std::string_view typedName, std::string_view guestName, bool allowGuest, bool cancelled);

// The key of the settings record a user works with: his own when he may keep private settings,
// else the shared record (key 1). Guests use the shared record.
std::int16_t SettingsKey(std::int16_t userId, bool guest, bool privateSettings);

}  // namespace kalvintor::app
