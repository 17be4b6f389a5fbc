// The recording MIDI system.
#include "sound/RecordingMidi.h"

#include <stdexcept>

namespace kalvintor::sound {

namespace {
constexpr int kDeviceBusy = 4;
}

bool RecordingOutPort::Send(std::uint32_t message) {
    if (failSends_) return false;
    sent_.push_back({nowMs_, message});
    return true;
}

bool RecordingOutPort::SetVolume(std::uint32_t word) {
    volume_ = word;
    return true;
}

void RecordingOutPort::Start(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    starts_.push_back({timeline, generation, nowMs_});
    sink_ = sink;
    cursor_.Start(timeline, generation, nowMs_);
}

void RecordingOutPort::Extend(const Timeline& timeline, std::uint64_t generation, NotificationSink* sink) {
    extensions_.push_back({timeline, generation, nowMs_});
    sink_ = sink;
    cursor_.Extend(timeline, generation, nowMs_);
}

void RecordingOutPort::Clear() {
    ++clears_;
    cursor_.Clear();
}

void RecordingOutPort::SetMetronome(const MetronomeSettings& metronome) {
    cursor_.SetMetronome(metronome, nowMs_);
}

void RecordingOutPort::Advance(double toMs) {
    std::vector<DueItem> due;
    while (auto next = cursor_.NextDueMs()) {
        if (*next > toMs) break;
        due.clear();
        cursor_.TakeDue(*next, due);
        for (const DueItem& item : due) {
            nowMs_ = item.atMs;
            if (!item.isNotification) {
                sent_.push_back({item.atMs, item.message});
            } else if (sink_ != nullptr) {
                sink_->Notify(item.notification);
            }
        }
    }
    nowMs_ = toMs;
}

bool RecordingInPort::Start() {
    started_ = !failStart;
    return started_;
}

void RecordingInPort::Receive(std::uint32_t message) {
    if (started_) sink_.MidiData(message);
}

std::optional<std::string> RecordingMidiSystem::MapperName() {
    if (throwOnList) throw std::runtime_error("listing failed");
    return mapperName;
}

std::vector<std::string> RecordingMidiSystem::OutputNames() {
    return outputNames;
}

OpenResult<MidiOutPort> RecordingMidiSystem::OpenOutput(std::int32_t id) {
    if (throwOnOpen) throw std::runtime_error("open failed");
    if (failingOutputIds.contains(id)) return {nullptr, {kDeviceBusy, "device busy"}};
    auto port = std::make_unique<RecordingOutPort>();
    output_ = port.get();
    return {std::move(port), {}};
}

std::optional<std::string> RecordingMidiSystem::DefaultInputName() {
    if (throwOnList) throw std::runtime_error("listing failed");
    return defaultInputName;
}

std::vector<std::string> RecordingMidiSystem::InputNames() {
    return inputNames;
}

OpenResult<MidiInPort> RecordingMidiSystem::OpenInput(std::int32_t id, MidiInputSink& sink) {
    if (throwOnOpen) throw std::runtime_error("open failed");
    if (failingInputIds.contains(id)) return {nullptr, {kDeviceBusy, "device busy"}};
    auto port = std::make_unique<RecordingInPort>(sink);
    input_ = port.get();
    return {std::move(port), {}};
}

}  // namespace kalvintor::sound
