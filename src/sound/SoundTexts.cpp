// Messages about the built-in synthesizer.
#include "sound/SoundTexts.h"

#include "language/Format.h"
#include "sound/DeviceTexts.h"

namespace kalvintor::sound {

std::optional<std::string> SynthErrorMessage(const language::Language& language, SynthError error,
                                             const std::filesystem::path& soundFont) {
    const std::string name = "\"" + soundFont.string() + "\"";
    switch (error) {
        case SynthError::None:
            return std::nullopt;
        case SynthError::SoundFontMissing:
            return language::FormatText(language.text(kTextSoundFontMissing, kSoundFontMissingEnglish),
                                        {name});
        case SynthError::SoundFontBroken:
        case SynthError::SynthUnavailable:
            return language::FormatText(language.text(kTextSoundFontBroken, kSoundFontBrokenEnglish), {name});
    }
    return std::nullopt;
}

std::optional<std::string> AudioOutputMessage(const language::Language& language, AudioOutput output) {
    if (output != AudioOutput::SilentClock) return std::nullopt;
    return language.text(kTextNoAudioOutput, kNoAudioOutputEnglish);
}

}  // namespace kalvintor::sound
