// MIDI ports of the ALSA sequencer and JACK through RtMidi: listing, output with its own playback
// thread, and input.
#pragma once

#include "sound/MidiDevice.h"
#include "sound/ScheduledPlayback.h"

#include <rtmidi/RtMidi.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kalvintor::sound {

struct PortEntry {
    RtMidi::Api api = RtMidi::UNSPECIFIED;
    unsigned index = 0;
    std::string name;
};

// The ports each compiled API offers now; an API whose system is missing offers none.
std::vector<PortEntry> ListOutputPorts(const std::string& clientName);
std::vector<PortEntry> ListInputPorts(const std::string& clientName);

class RtMidiOutPort final : public MidiOutPort, private PlaybackTarget {
public:
    static OpenResult<MidiOutPort> Open(const PortEntry& entry, const std::string& clientName);
    ~RtMidiOutPort() override;

    bool Send(std::uint32_t message) override;
    std::string LastErrorText() const override;
    // A port has no volume of its own: the level is kept and read back.
    bool SetVolume(std::uint32_t word) override;
    std::optional<std::uint32_t> Volume() const override;
    PlaybackBackend& Playback() override { return *playback_; }

private:
    explicit RtMidiOutPort(std::unique_ptr<RtMidiOut> out);
    static void OnError(RtMidiError::Type type, const std::string& text, void* self);

    double NowMs() const override;
    double LookaheadMs() const override { return 0; }
    void Deliver(const DueItem& item) override { Send(item.message); }
    void Retract(bool) override {}

    mutable std::mutex mutex_;  // the playback thread and the user-interface thread both send
    std::unique_ptr<RtMidiOut> out_;
    std::string lastError_;
    bool failed_ = false;
    std::uint32_t volume_ = 0xFFFFFFFF;
    std::unique_ptr<ScheduledPlayback> playback_;
};

class RtMidiInPort final : public MidiInPort {
public:
    static OpenResult<MidiInPort> Open(const PortEntry& entry, const std::string& clientName,
                                       MidiInputSink& sink);
    ~RtMidiInPort() override;
    bool Start() override;
    void Reset() override;

private:
    RtMidiInPort(std::unique_ptr<RtMidiIn> in, MidiInputSink& sink) : in_(std::move(in)), sink_(sink) {}
    static void OnMessage(double deltaSeconds, std::vector<unsigned char>* bytes, void* self);

    std::unique_ptr<RtMidiIn> in_;
    MidiInputSink& sink_;
    std::atomic<bool> started_{false};
};

// Packs up to three bytes of a channel or system message; nothing for longer (system exclusive) ones.
std::optional<std::uint32_t> PackReceived(const std::vector<unsigned char>& bytes);

}  // namespace kalvintor::sound
