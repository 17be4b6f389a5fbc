// RtMidi ports.
#include "sound/RtMidiPorts.h"

#include "sound/MidiMessage.h"
#include "sound/QuietAudio.h"

#include <algorithm>
#include <chrono>

namespace kalvintor::sound {

namespace {

constexpr int kDeviceGone = 1;
const RtMidi::Api kPortApis[] = {RtMidi::LINUX_ALSA, RtMidi::UNIX_JACK};

void IgnoreError(RtMidiError::Type, const std::string&, void*) {}

bool Compiled(RtMidi::Api api) {
    std::vector<RtMidi::Api> apis;
    RtMidi::getCompiledApi(apis);
    return std::find(apis.begin(), apis.end(), api) != apis.end();
}

template <typename Probe>
std::vector<PortEntry> ListPorts(const std::string& clientName) {
    QuietAudioLibraries();
    std::vector<PortEntry> ports;
    for (RtMidi::Api api : kPortApis) {
        if (!Compiled(api)) continue;
        try {
            Probe probe(api, clientName);
            probe.setErrorCallback(&IgnoreError, nullptr);
            const unsigned count = probe.getPortCount();
            for (unsigned i = 0; i < count; ++i) {
                std::string name = probe.getPortName(i);
                if (!name.empty()) ports.push_back({api, i, std::move(name)});
            }
        } catch (const RtMidiError&) {
            // The API's system is not running here: it offers no ports.
        }
    }
    return ports;
}

// Opens the port that still carries the listed name: numbers shift when ports come and go.
template <typename Port>
bool OpenByName(Port& port, const PortEntry& entry, const std::string& portName) {
    const unsigned count = port.getPortCount();
    for (unsigned i = 0; i < count; ++i) {
        if (port.getPortName(i) == entry.name) {
            port.openPort(i, portName);
            return port.isPortOpen();
        }
    }
    return false;
}

}  // namespace

std::vector<PortEntry> ListOutputPorts(const std::string& clientName) {
    return ListPorts<RtMidiOut>(clientName);
}
std::vector<PortEntry> ListInputPorts(const std::string& clientName) {
    return ListPorts<RtMidiIn>(clientName);
}

std::optional<std::uint32_t> PackReceived(const std::vector<unsigned char>& bytes) {
    if (bytes.empty() || bytes.size() > 3 || (bytes[0] & 0x80) == 0) return std::nullopt;
    std::uint32_t m = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) m |= std::uint32_t{bytes[i]} << (8 * i);
    return m;
}

RtMidiOutPort::RtMidiOutPort(std::unique_ptr<RtMidiOut> out) : out_(std::move(out)) {
    out_->setErrorCallback(&RtMidiOutPort::OnError, this);
    playback_ = std::make_unique<ScheduledPlayback>(static_cast<PlaybackTarget&>(*this), true);
}

RtMidiOutPort::~RtMidiOutPort() {
    playback_.reset();
    std::lock_guard lock(mutex_);
    out_->closePort();
}

OpenResult<MidiOutPort> RtMidiOutPort::Open(const PortEntry& entry, const std::string& clientName) {
    try {
        auto out = std::make_unique<RtMidiOut>(entry.api, clientName);
        out->setErrorCallback(&IgnoreError, nullptr);
        if (!OpenByName(*out, entry, "output"))
            return {nullptr, {kDeviceGone, "The MIDI port is no longer there."}};
        return {std::unique_ptr<MidiOutPort>(new RtMidiOutPort(std::move(out))), {}};
    } catch (const RtMidiError& e) {
        return {nullptr, {static_cast<int>(e.getType()), e.getMessage()}};
    }
}

void RtMidiOutPort::OnError(RtMidiError::Type, const std::string& text, void* self) {
    // Called with the port's mutex held, from within sendMessage.
    auto* port = static_cast<RtMidiOutPort*>(self);
    port->lastError_ = text;
    port->failed_ = true;
}

bool RtMidiOutPort::Send(std::uint32_t message) {
    const std::uint8_t status = StatusOf(message);
    const int length = status >= 0x80 ? 1 + DataLength(status) : 0;
    if (length == 0) return false;
    const unsigned char bytes[3] = {status, Data1Of(message), Data2Of(message)};
    std::lock_guard lock(mutex_);
    failed_ = false;
    out_->sendMessage(bytes, static_cast<std::size_t>(length));
    return !failed_;
}

std::string RtMidiOutPort::LastErrorText() const {
    std::lock_guard lock(mutex_);
    return lastError_;
}

bool RtMidiOutPort::SetVolume(std::uint32_t word) {
    std::lock_guard lock(mutex_);
    volume_ = word;
    return true;
}

std::optional<std::uint32_t> RtMidiOutPort::Volume() const {
    std::lock_guard lock(mutex_);
    return volume_;
}

double RtMidiOutPort::NowMs() const {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

OpenResult<MidiInPort> RtMidiInPort::Open(const PortEntry& entry, const std::string& clientName,
                                          MidiInputSink& sink) {
    try {
        auto in = std::make_unique<RtMidiIn>(entry.api, clientName);
        in->setErrorCallback(&IgnoreError, nullptr);
        // Clock, sensing and system exclusive are dropped where they arrive.
        in->ignoreTypes(true, true, true);
        std::unique_ptr<RtMidiInPort> port(new RtMidiInPort(std::move(in), sink));
        port->in_->setCallback(&RtMidiInPort::OnMessage, port.get());
        if (!OpenByName(*port->in_, entry, "input"))
            return {nullptr, {kDeviceGone, "The MIDI port is no longer there."}};
        return {std::move(port), {}};
    } catch (const RtMidiError& e) {
        return {nullptr, {static_cast<int>(e.getType()), e.getMessage()}};
    }
}

RtMidiInPort::~RtMidiInPort() {
    Reset();
}

bool RtMidiInPort::Start() {
    started_ = in_->isPortOpen();
    return started_;
}

void RtMidiInPort::Reset() {
    started_ = false;
    try {
        in_->cancelCallback();
        in_->closePort();
    } catch (const RtMidiError&) {
        // Closing a port whose system went away: nothing more to release.
    }
}

void RtMidiInPort::OnMessage(double, std::vector<unsigned char>* bytes, void* self) {
    auto* port = static_cast<RtMidiInPort*>(self);
    if (!port->started_ || bytes == nullptr) return;
    if (auto message = PackReceived(*bytes)) port->sink_.MidiData(*message);
}

}  // namespace kalvintor::sound
