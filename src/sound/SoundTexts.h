// What the user is told about the built-in synthesizer where they choose its SoundFont or output.
#pragma once

#include "language/Language.h"
#include "sound/BuiltinSynth.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kalvintor::sound {

// Nothing for SynthError::None.
std::optional<std::string> SynthErrorMessage(const language::Language& language, SynthError error,
                                             const std::filesystem::path& soundFont);
// The note shown where an output device is chosen while the synthesizer has no audio output.
std::optional<std::string> AudioOutputMessage(const language::Language& language, AudioOutput output);

}  // namespace kalvintor::sound
