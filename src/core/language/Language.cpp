// Distribution of language texts to their targets by the rules of the mode bits.
#include "language/Language.h"

#include "files/Files.h"

#include <algorithm>

namespace kalvintor::language {

Language::Language() {
    // Preset before any language file is read; a language file may replace them.
    texts_[kTextFileDoesNotExist] = "File does not exist:";
    texts_[kTextErrorCaption] = "Error";
}

Language::BindingId Language::bind(int id, TextGroup group, Decoration decoration, Target target) {
    const BindingId binding = nextBinding_++;
    auto [it, inserted] = bindings_.emplace(binding, Binding{id, group, decoration, std::move(target)});
    byTextId_[id].push_back(binding);
    if (auto found = texts_.find(id); found != texts_.end() && (id < kFirstTeacherText || teacherWindowsExist_))
        it->second.target(decorate(found->second, decoration));
    return binding;
}

void Language::unbind(BindingId binding) {
    auto it = bindings_.find(binding);
    if (it == bindings_.end()) return;
    auto& list = byTextId_[it->second.id];
    std::erase(list, binding);
    if (list.empty()) byTextId_.erase(it->second.id);
    bindings_.erase(it);
}

std::string Language::text(int id, std::string_view designTime) const {
    auto it = texts_.find(id);
    return it != texts_.end() ? it->second : std::string(designTime);
}

std::optional<std::string> Language::loadedText(int id) const {
    auto it = texts_.find(id);
    if (it == texts_.end()) return std::nullopt;
    return it->second;
}

std::vector<int> Language::boundIds() const {
    std::vector<int> ids;
    for (const auto& [id, bindings] : byTextId_) ids.push_back(id);
    std::sort(ids.begin(), ids.end());
    return ids;
}

void Language::deliver(const std::vector<BindingId>& ids, const std::string& text, TextGroup group) {
    for (BindingId binding : ids) {
        auto it = bindings_.find(binding);  // a target may have unbound others meanwhile
        if (it != bindings_.end() && it->second.group == group)
            it->second.target(decorate(text, it->second.decoration));
    }
}

void Language::apply(const std::vector<LanguageEntry>& entries, unsigned mode) {
    if (mode & kLoadFull) notify(beforeFullLoad_);

    for (const auto& entry : entries) {
        const auto found = byTextId_.find(entry.id);
        const std::vector<BindingId> targets =
            found != byTextId_.end() ? found->second : std::vector<BindingId>{};
        if (entry.id >= kFirstTeacherText) {
            texts_[entry.id] = entry.text;
            if (teacherWindowsExist_) {
                deliver(targets, entry.text, TextGroup::Full);
                deliver(targets, entry.text, TextGroup::SettingsDialog);
            }
            continue;
        }
        if (mode & kLoadFull) {
            texts_[entry.id] = entry.text;
            deliver(targets, entry.text, TextGroup::Full);
        }
        if ((mode & kLoadSettingsDialog) && settingsDialogOpen_)
            deliver(targets, entry.text, TextGroup::SettingsDialog);
    }

    notify(afterLoad_);
}

Language::ObserverId Language::addBeforeFullLoad(Observer observer) {
    beforeFullLoad_.emplace(nextObserver_, std::move(observer));
    return nextObserver_++;
}

Language::ObserverId Language::addAfterLoad(Observer observer) {
    afterLoad_.emplace(nextObserver_, std::move(observer));
    return nextObserver_++;
}

void Language::removeObserver(ObserverId id) {
    beforeFullLoad_.erase(id);
    afterLoad_.erase(id);
}

void Language::notify(const std::map<ObserverId, Observer>& observers) {
    // An observer may remove itself or others: walk over the ids that exist at each step.
    std::vector<ObserverId> ids;
    for (const auto& [id, observer] : observers) ids.push_back(id);
    for (ObserverId id : ids) {
        auto it = observers.find(id);
        if (it != observers.end()) it->second();
    }
}

bool Language::loadFile(const std::filesystem::path& file, unsigned mode) {
    const auto bytes = files::readFile(file);
    if (!bytes) return false;
    apply(parseLanguageFile(*bytes), mode);
    return true;
}

std::string Language::missingFileMessage(const std::filesystem::path& file) const {
    return text(kTextFileDoesNotExist, "File does not exist:") + "\n\n" + file.string();
}

std::optional<std::filesystem::path> chooseHelpFile(const std::filesystem::path& languageDir,
                                                    std::string_view language) {
    if (auto own = files::findCaseInsensitive(languageDir, std::string(language) + ".HLP")) return own;
    return files::findCaseInsensitive(languageDir, "English.HLP");
}

std::string chooseLanguage(const std::filesystem::path& languageDir, std::string_view language) {
    if (!language.empty() && files::findCaseInsensitive(languageDir, std::string(language) + ".LAN"))
        return std::string(language);
    return "English";
}

}  // namespace kalvintor::language
