// A TMidiOut on the recording system, with the messages it shows collected.
#pragma once

#include "settings/SettingRecord.h"
#include "sound/RecordingMidi.h"
#include "sound/TMidiOut.h"

#include <memory>
#include <string>
#include <vector>

namespace kalvintor::sound::testing {

struct SoundRig {
    settings::Settings settings = settings::defaultSettings();
    language::Language language;
    RecordingMidiSystem system;
    TSequencer sequencer;
    RecordingNotificationSink notifications;
    std::vector<std::string> shown;
    std::unique_ptr<TMidiOut> midiOut;

    // Lists the devices the system has been given and opens entry 1.
    void Create(bool open = true) {
        sequencer.SetNotificationSink(&notifications);
        midiOut = std::make_unique<TMidiOut>(system, sequencer, settings, language,
                                             [this](const std::string& text) { shown.push_back(text); });
        if (open) {
            std::string name;
            midiOut->SelectDeviceByName(name);
        }
    }
    RecordingOutPort& Port() { return *system.Output(); }
};

}  // namespace kalvintor::sound::testing
