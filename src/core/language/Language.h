// The loaded language: the current text of every id, and the targets each window registers.
#pragma once

#include "language/Decoration.h"
#include "language/LanguageFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kalvintor::language {

// Mode bits of LoadLanguage.
enum LoadMode : unsigned {
    kLoadFull = 1,            // every text below 6100 of the windows, dialogs and messages
    kLoadSettingsDialog = 2,  // the program settings dialog's texts, while it exists
    kLoadAll = kLoadFull | kLoadSettingsDialog,
};

// Texts from this id on belong to the teacher windows and are applied only while they exist.
inline constexpr int kFirstTeacherText = 6100;

// Which set of texts a target belongs to, for ids below kFirstTeacherText.
enum class TextGroup { Full, SettingsDialog };

inline constexpr int kTextFileDoesNotExist = 5010;
inline constexpr int kTextErrorCaption = 5005;

class Language {
public:
    using Target = std::function<void(const std::string&)>;
    using BindingId = std::uint64_t;
    using Observer = std::function<void()>;

    Language();

    // Registers a target for a text id. When the id already has a loaded text, the target gets it
    // at once, so a window created after a load shows the loaded language.
    BindingId bind(int id, TextGroup group, Decoration decoration, Target target);
    void unbind(BindingId binding);

    void setSettingsDialogOpen(bool open) { settingsDialogOpen_ = open; }
    void setTeacherWindowsExist(bool exist) { teacherWindowsExist_ = exist; }
    bool settingsDialogOpen() const { return settingsDialogOpen_; }
    bool teacherWindowsExist() const { return teacherWindowsExist_; }

    // Run before a full load starts (the start menu clears its cached lines) and after every load
    // (the pitch catalogue rebuilds its derived names).
    // Each returns an id for removeObserver; an owner that goes away must remove its observers.
    using ObserverId = std::uint64_t;
    ObserverId addBeforeFullLoad(Observer observer);
    ObserverId addAfterLoad(Observer observer);
    void removeObserver(ObserverId id);

    // The loaded text of an id, or the design-time text given by the caller.
    std::string text(int id, std::string_view designTime) const;
    std::optional<std::string> loadedText(int id) const;

    // Every id that has a registered target, in increasing order.
    std::vector<int> boundIds() const;

    // Reads the file and distributes its texts; false when the file cannot be opened, in which
    // case nothing changes.
    bool loadFile(const std::filesystem::path& file, unsigned mode);
    // Distributes parsed entries in file order, as loadFile does after reading.
    void apply(const std::vector<LanguageEntry>& entries, unsigned mode);

    // The error text for a language file that cannot be opened: text 5010, a line break and the
    // file name. The caption is text(kTextErrorCaption, ...).
    std::string missingFileMessage(const std::filesystem::path& file) const;

private:
    struct Binding {
        int id;
        TextGroup group;
        Decoration decoration;
        Target target;
    };

    void deliver(const std::vector<BindingId>& ids, const std::string& text, TextGroup group);

    std::unordered_map<int, std::string> texts_;
    std::map<BindingId, Binding> bindings_;
    std::unordered_map<int, std::vector<BindingId>> byTextId_;
    BindingId nextBinding_ = 1;
    bool settingsDialogOpen_ = false;
    bool teacherWindowsExist_ = false;
    void notify(const std::map<ObserverId, Observer>& observers);

    std::map<ObserverId, Observer> beforeFullLoad_;
    std::map<ObserverId, Observer> afterLoad_;
    ObserverId nextObserver_ = 1;
};

// The help file that goes with a language: `languageDir`/language.HLP, else English.HLP when that
// exists, else none. File names are matched without regard to case.
std::optional<std::filesystem::path> chooseHelpFile(const std::filesystem::path& languageDir,
                                                    std::string_view language);

// The language file to load when settings are applied: the named one when it exists, otherwise
// "English" (which the caller then stores in the settings).
std::string chooseLanguage(const std::filesystem::path& languageDir, std::string_view language);

}  // namespace kalvintor::language
