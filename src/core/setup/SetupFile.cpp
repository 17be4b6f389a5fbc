// Loading and saving setup files.
#include "setup/SetupFile.h"

#include "files/Files.h"
#include "language/Language.h"
#include "setup/OldSetup.h"

#include <cstring>
#include <fstream>

namespace kalvintor::setup {

namespace fs = std::filesystem;

namespace {

constexpr int kTextNotASetup = 5015;
constexpr std::string_view kEnglishNotASetup =
    "This file is not an exercise setup of this version of Kalvintor School.";
constexpr int kTextSaveChanged = 5019;
constexpr std::string_view kEnglishSaveChanged =
    "The exercise setup has been changed. Do you want to save it?";
constexpr std::string_view kEnglishFileDoesNotExist = "File does not exist:";
constexpr std::string_view kEnglishCannotWrite = "The file could not be written:";
constexpr int kTextCannotRead = 7101;
constexpr std::string_view kEnglishCannotRead =
    "This exercise setup could not be read: the file is incomplete. The built-in exercise setup is used "
    "instead.";

template <typename F, typename... Args>
void call(const F& f, Args&&... args) {
    if (f) f(std::forward<Args>(args)...);
}

std::string cutToRoom(const std::string& name) {
    return name.size() <= kSetupNameRoom ? name : name.substr(0, kSetupNameRoom);
}

}  // namespace

SetupRead readSetupFile(const fs::path& file) {
    SetupRead read;
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) return read;
    std::ifstream in(file, std::ios::binary);
    if (!in) return read;
    const auto size = fs::file_size(file, ec);
    if (!ec && (size == kOldSetupSize || size == kPaddedOldSetupSize)) {
        std::array<std::uint8_t, kPaddedOldSetupSize> bytes{};
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        const OldSetupBytes old = size == kPaddedOldSetupSize ? unpadOldSetup(bytes) : [&] {
            OldSetupBytes b{};
            std::copy_n(bytes.begin(), kOldSetupSize, b.begin());
            return b;
        }();
        SetupRecord asRead;
        std::memcpy(asRead.bytes.data(), old.data(), kHeaderSize);
        if (!asRead.hasHeader(kOldHeaderText)) {
            read.status = SetupReadStatus::WrongHeader;
            return read;
        }
        read.record = convertOldSetup(old);
        read.status = SetupReadStatus::Converted;
        return read;
    }
    SetupRecord record;
    in.read(reinterpret_cast<char*>(record.bytes.data()), kSetupRecordSize);
    if (in.gcount() != static_cast<std::streamsize>(kSetupRecordSize)) {
        read.status = SetupReadStatus::Truncated;
        return read;
    }
    read.record = record;
    read.status = read.record.hasHeader(kHeaderText) ? SetupReadStatus::Loaded : SetupReadStatus::WrongHeader;
    if (read.status == SetupReadStatus::WrongHeader) read.record = DefaultSetup();
    return read;
}

SetupSession::SetupSession(SetupHost host, const language::Language* language)
    : host_(std::move(host)), language_(language) {}

std::string SetupSession::text(int id, std::string_view english) const {
    return language_ ? language_->text(id, english) : std::string(english);
}

void SetupSession::afterLoad() {
    savedCopy = current;
    setupChanged = false;
    if (host_.setupViewShown && host_.setupViewShown()) call(host_.fillSetupDialog);
}

bool SetupSession::LoadSetupFile(const std::string& name, bool quiet) {
    if (!ConfirmSetupChange() || name.empty()) return false;
    const SetupRead read = readSetupFile(fs::path(name));
    bool loaded = false;
    switch (read.status) {
        case SetupReadStatus::Unreadable:
        case SetupReadStatus::Truncated:
            // Either way the built-in setup takes over, without the file's name: saving it again
            // must not look like saving the file that was chosen.
            if (!quiet) {
                const std::string reason =
                    read.status == SetupReadStatus::Unreadable
                        ? text(language::kTextFileDoesNotExist, kEnglishFileDoesNotExist)
                        : text(kTextCannotRead, kEnglishCannotRead);
                call(host_.showError, reason + "\n\n" + name);
            }
            setupName.clear();
            call(host_.showSetupName, std::string(" "));
            current = DefaultSetup();
            call(host_.applySetupAll, true);
            setupLoaded = true;
            break;
        case SetupReadStatus::WrongHeader:
            call(host_.showInformation, text(kTextNotASetup, kEnglishNotASetup));
            break;
        case SetupReadStatus::Loaded:
        case SetupReadStatus::Converted:
            call(host_.closeSession);
            current = read.record;
            setupName = cutToRoom(name);
            call(host_.showSetupName, displayName(setupName));
            call(host_.applySetupAll, true);
            setupLoaded = true;
            loaded = true;
            break;
    }
    afterLoad();
    return loaded;
}

bool SetupSession::SaveSetupFile(const std::string& name) {
    if (host_.setupViewShown && host_.setupViewShown()) call(host_.takeSetupDialog);
    current.stampHeader();
    if (files::writeFileAtomically(fs::path(name), current.bytes) != files::WriteError::None) {
        call(host_.showError, std::string(kEnglishCannotWrite) + "\n\n" + name);
        return false;
    }
    setupName = cutToRoom(name);
    call(host_.showSetupName, displayName(setupName));
    return true;
}

void SetupSession::UseDefaultSetup() {
    current = DefaultSetup();
    setupName.clear();
    call(host_.showSetupName, std::string(" "));
    call(host_.applySetupAll, true);
    setupLoaded = true;
    afterLoad();
}

bool SetupSession::ConfirmSetupChange() {
    if (host_.tutorActive && host_.tutorActive()) return true;
    if (host_.setupViewShown && host_.setupViewShown()) {
        call(host_.takeSetupDialog);
        setupChanged = SetupDiffers(savedCopy, current);
    }
    if (!setupChanged) return true;
    const Choice choice =
        host_.askYesNoCancel ? host_.askYesNoCancel(text(kTextSaveChanged, kEnglishSaveChanged)) : Choice::No;
    if (choice == Choice::Cancel) return false;
    if (choice == Choice::Yes) call(host_.saveSetupAs);
    return true;
}

void SetupSession::LeaveSetupView() {
    call(host_.takeSetupDialog);
    setupChanged = SetupDiffers(current, savedCopy);
    savedCopy = current;
    call(host_.applySetupAll, false);
}

}  // namespace kalvintor::setup
