// The rules of the configuration wizard: which pages a start shows, what finishing stores and the
// level meter of the microphone page.
#pragma once

#include "settings/SettingRecord.h"

#include <array>
#include <cstdint>

namespace kalvintor::app {

enum class WizardPage { Language = 0, Sound, MidiInput, Microphone, Instrument };
inline constexpr std::size_t kWizardPages = 5;

struct WizardPlan {
    bool due = false;              // the wizard is shown at this start
    bool noOutputMessage = false;  // tell the user that no MIDI output device exists
    std::array<bool, kWizardPages> visible{};
    bool shows(WizardPage p) const { return visible[static_cast<std::size_t>(p)]; }
};

// Due on the first run of the workstation or until a user finished it with the instrument page.
// The first run sets up the workstation (language, sound output, MIDI input, microphone); the
// instrument page asks each user once. The sound page is left out without an output device.
WizardPlan PlanWizard(bool completed, bool firstRun, bool hasOutputDevice);

// Instrument buttons: 2 piano, 4 guitar, anything else counts as "other" (1).
inline constexpr std::uint8_t kWizardPiano = 2;
inline constexpr std::uint8_t kWizardGuitar = 4;
inline constexpr std::uint8_t kWizardOther = 1;

// The answer displays of every exercise from the chosen instrument and the screen height: the
// instrument alone on a screen of at most 500 pixels, with the notesheet above that, and with the
// name buttons as well above 650 pixels. Marks the wizard completed.
void FinishWizard(settings::Settings& settings, std::uint8_t instrument, int screenHeight);

// The microphone level meter: the loudest sample (0..1) as 0..100 over the range -60..0 dBFS.
int LevelPercent(float peak);

}  // namespace kalvintor::app
