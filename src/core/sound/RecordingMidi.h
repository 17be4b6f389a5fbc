// A MIDI system for tests: devices that record what they are sent, and playback on a virtual clock.
#pragma once

#include "sound/MidiDevice.h"
#include "sound/PlaybackCursor.h"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace kalvintor::sound {

struct SentMessage {
    double timeMs = 0;  // on the virtual clock
    std::uint32_t message = 0;

    friend bool operator==(const SentMessage&, const SentMessage&) = default;
};

struct StartedTimeline {
    Timeline timeline;
    std::uint64_t generation = 0;
    double atMs = 0;
};

// An output that records every message with the virtual time it was sent at.
class RecordingOutPort final : public MidiOutPort, public PlaybackBackend {
public:
    bool Send(std::uint32_t message) override;
    std::string LastErrorText() const override { return failSends_ ? "recording device refused" : ""; }
    bool SetVolume(std::uint32_t word) override;
    std::optional<std::uint32_t> Volume() const override { return volume_; }
    PlaybackBackend& Playback() override { return *this; }

    void Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) override;
    void Clear() override;
    void SetMetronome(const MetronomeSettings& metronome) override;

    // Moves the virtual clock forward, sending what falls due on the way.
    void Advance(double toMs);
    double Now() const { return nowMs_; }

    const std::vector<SentMessage>& Sent() const { return sent_; }
    void ClearSent() { sent_.clear(); }
    const std::vector<StartedTimeline>& Starts() const { return starts_; }
    // The timelines a playback in force was continued with.
    const std::vector<StartedTimeline>& Extensions() const { return extensions_; }
    int Clears() const { return clears_; }
    void FailSends(bool fail) { failSends_ = fail; }

private:
    std::vector<SentMessage> sent_;
    std::vector<StartedTimeline> starts_;
    std::vector<StartedTimeline> extensions_;
    std::uint32_t volume_ = 0xFFFFFFFF;
    double nowMs_ = 0;
    int clears_ = 0;
    bool failSends_ = false;
    PlaybackCursor cursor_;
    NotificationSink* sink_ = nullptr;
};

// An input that the test feeds by hand.
class RecordingInPort final : public MidiInPort {
public:
    explicit RecordingInPort(MidiInputSink& sink) : sink_(sink) {}
    bool Start() override;
    void Reset() override { started_ = false; }
    bool Started() const { return started_; }
    // Delivers a message as the device would, when input is started.
    void Receive(std::uint32_t message);
    bool failStart = false;

private:
    MidiInputSink& sink_;
    bool started_ = false;
};

class RecordingMidiSystem final : public MidiSystem {
public:
    std::optional<std::string> mapperName = "Recording synthesizer";
    std::vector<std::string> outputNames;
    std::optional<std::string> defaultInputName;
    std::vector<std::string> inputNames = {"Recording keyboard"};
    // Opening these output or input ids fails with the error text "device busy".
    std::set<std::int32_t> failingOutputIds;
    std::set<std::int32_t> failingInputIds;
    bool throwOnList = false;
    bool throwOnOpen = false;

    std::optional<std::string> MapperName() override;
    std::vector<std::string> OutputNames() override;
    OpenResult<MidiOutPort> OpenOutput(std::int32_t id) override;
    std::optional<std::string> DefaultInputName() override;
    std::vector<std::string> InputNames() override;
    OpenResult<MidiInPort> OpenInput(std::int32_t id, MidiInputSink& sink) override;

    // The latest opened ports (owned by the device objects; valid while they stay open).
    RecordingOutPort* Output() const { return output_; }
    RecordingInPort* Input() const { return input_; }

private:
    RecordingOutPort* output_ = nullptr;
    RecordingInPort* input_ = nullptr;
};

// Collects notifications in the order they fall due.
class RecordingNotificationSink final : public NotificationSink {
public:
    void Notify(const Notification& notification) override { received.push_back(notification); }
    std::vector<Notification> received;
};

}  // namespace kalvintor::sound
