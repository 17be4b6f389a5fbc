// How late the program's MIDI port path delivers: events played by the program's own port class
// (its playback thread) into a JACK port of a dummy server, stamped where the receiving port gets
// them, against a bare sleep_until loop sending through the same port to the same receiver. Both
// senders run at the same priority (the real-time one the playback thread asks for, when this
// process is granted it); the two alternate over several rounds and the median ratio is reported.
#include "BenchLoad.h"
#include "JackServer.h"

#include "sound/MidiMessage.h"
#include "sound/RtMidiPorts.h"

#include <rtmidi/RtMidi.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

using namespace kalvintor::sound;
using kalvintor::sound::testing::JackServer;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kEvents = 1000;
constexpr int kRounds = 5;
// Both senders begin this long after they are told to.
constexpr double kLeadMs = 20.0;

double NowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

double P99(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(0.99 * static_cast<double>(v.size() - 1))];
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Event times: bursts of one to three messages, 1 to 8 ms apart.
std::vector<double> EventTimes() {
    std::mt19937 random(9);
    std::vector<double> times;
    double t = 0;
    while (times.size() < kEvents) {
        const int burst = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < burst && times.size() < kEvents; ++i) times.push_back(t);
        t += 1.0 + static_cast<double>(random() % 700) / 100.0;
    }
    return times;
}

// Event i is a note-on whose key and velocity carry i, so the receiver knows which one came.
std::uint32_t EventMessage(int i) {
    return NoteOnMessage(0, static_cast<std::uint8_t>(i & 0x7F), static_cast<std::uint8_t>(1 + (i >> 7)));
}

// The receiving port: stamps each event as its message arrives, into room reserved beforehand.
class Receiver {
public:
    Receiver() : in_(RtMidi::UNIX_JACK, "bench-sink"), arrived_(kEvents) {
        in_.setCallback(&Receiver::OnMessage, this);
        in_.openVirtualPort("in");
    }
    void Clear() {
        std::fill(arrived_.begin(), arrived_.end(), -1.0);
        count_ = 0;
    }
    // Waits until every event came or `untilMs` has passed; the arrival times (-1: lost).
    std::vector<double> Arrivals(double untilMs) const {
        while (count_.load() < kEvents && NowMs() < untilMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return arrived_;
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* bytes, void* self) {
        const double now = NowMs();
        auto* r = static_cast<Receiver*>(self);
        if (bytes == nullptr || bytes->size() != 3 || (*bytes)[2] == 0) return;
        const int i = (*bytes)[1] | (((*bytes)[2] - 1) << 7);
        if (i < kEvents && r->arrived_[static_cast<std::size_t>(i)] < 0) {
            r->arrived_[static_cast<std::size_t>(i)] = now;
            ++r->count_;
        }
    }

    RtMidiIn in_;
    std::vector<double> arrived_;
    std::atomic<int> count_{0};
};

// How late each event arrived after its due time; lost events are counted, not timed.
std::vector<double> Lateness(const std::vector<double>& arrivals, const std::vector<double>& due, int& lost) {
    std::vector<double> late;
    for (std::size_t i = 0; i < due.size(); ++i) {
        if (arrivals[i] < 0) {
            ++lost;
        } else {
            late.push_back(arrivals[i] - due[i]);
        }
    }
    return late;
}

// The bare loop: sleep_until each time and send through the port, on a thread at the priority the
// playback thread has.
std::vector<double> BareRound(MidiOutPort& port, Receiver& receiver, const std::vector<double>& times,
                              bool realtime, int& lost) {
    receiver.Clear();
    const double origin = NowMs() + kLeadMs;
    const Clock::time_point start = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                                       std::chrono::duration<double, std::milli>(kLeadMs));
    std::thread sender([&] {
        if (realtime) kalvintor::sound::bench::AskRealtime();
        for (std::size_t i = 0; i < times.size(); ++i) {
            std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(
                                                      std::chrono::duration<double, std::milli>(times[i])));
            port.Send(EventMessage(static_cast<int>(i)));
        }
    });
    sender.join();
    std::vector<double> due;
    for (double t : times) due.push_back(origin + t);
    return Lateness(receiver.Arrivals(NowMs() + 2000), due, lost);
}

// The program's playback thread with the same times.
std::vector<double> PortRound(MidiOutPort& port, Receiver& receiver, const std::vector<double>& times,
                              std::uint64_t generation, int& lost) {
    receiver.Clear();
    Timeline timeline;
    for (std::size_t i = 0; i < times.size(); ++i) {
        timeline.events.push_back(
            {kLeadMs + times[i], 0, 1, SeqEventKind::Message, EventMessage(static_cast<int>(i)), 0, 0});
    }
    timeline.endMs = kLeadMs + times.back();
    const double origin = NowMs();
    port.Playback().Start(timeline, generation, nullptr);
    std::vector<double> due;
    for (double t : times) due.push_back(origin + kLeadMs + t);
    const std::vector<double> arrivals = receiver.Arrivals(origin + kLeadMs + times.back() + 2000);
    port.Playback().Clear();
    return Lateness(arrivals, due, lost);
}

void BM_PortLateness(benchmark::State& state) {
    if (!JackServer::Installed()) {
        state.SkipWithError("jackd is not installed");
        return;
    }
    JackServer server;
    if (!server.Running()) {
        state.SkipWithError(server.Error().c_str());
        return;
    }
    Receiver receiver;
    std::unique_ptr<MidiOutPort> port;
    for (const PortEntry& entry : ListOutputPorts("bench-port")) {
        if (entry.api == RtMidi::UNIX_JACK && entry.name.find("bench-sink") != std::string::npos)
            port = RtMidiOutPort::Open(entry, "bench-port").port;
    }
    if (!port) {
        state.SkipWithError("the receiving port could not be opened");
        return;
    }
    const bool realtime = kalvintor::sound::bench::RealtimeGranted();
    const std::vector<double> times = EventTimes();
    std::vector<double> ratios, portP99s, bareP99s;
    int lost = 0;
    // A round that is not counted: the connection settles and both paths are warm.
    int warmUpLost = 0;
    BareRound(*port, receiver, times, realtime, warmUpLost);
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            const double bare = std::max(P99(BareRound(*port, receiver, times, realtime, lost)), 1e-3);
            const double played =
                P99(PortRound(*port, receiver, times, static_cast<std::uint64_t>(round + 1), lost));
            bareP99s.push_back(bare);
            portP99s.push_back(played);
            ratios.push_back(played / bare);
        }
    }
    // Events that never arrived (the dummy server's MIDI buffers can drop a burst): counted here,
    // left out of the lateness.
    state.counters["lost"] = lost;
    state.counters["port_lateness_p99_ratio"] = Median(ratios);
    state.counters["port_lateness_p99_ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["port_lateness_p99_ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
    state.counters["port_lateness_p99_ms"] = Median(portP99s);
    state.counters["sleep_until_lateness_p99_ms"] = Median(bareP99s);
    state.counters["realtime_granted"] = realtime ? 1 : 0;
    state.counters["rounds"] = kRounds;
    state.counters["events"] = kEvents;
}

}  // namespace

BENCHMARK(BM_PortLateness)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
