// How late the port path's playback thread sends: 2000 events into a JACK port of a dummy server,
// against a bare sleep_until loop measured in the same run.
#include "JackServer.h"

#include "sound/MidiMessage.h"
#include "sound/ScheduledPlayback.h"

#include <rtmidi/RtMidi.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>

using namespace kalvintor::sound;
using kalvintor::sound::testing::JackServer;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kEvents = 2000;

double NowMs() {
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

double P99(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(0.99 * static_cast<double>(v.size() - 1))];
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

// The same target a port uses: the steady clock, no lookahead, sending at once; it also notes
// how late each send is.
class MeasuringPort final : public PlaybackTarget {
public:
    explicit MeasuringPort(RtMidiOut& out) : out_(out) { lateness.reserve(kEvents); }
    double NowMs() const override { return ::NowMs(); }
    double LookaheadMs() const override { return 0; }
    void Deliver(const DueItem& item) override {
        lateness.push_back(::NowMs() - item.atMs);
        const unsigned char bytes[3] = {StatusOf(item.message), Data1Of(item.message), Data2Of(item.message)};
        out_.sendMessage(bytes, 3);
    }
    void Retract(bool) override {}
    std::vector<double> lateness;

private:
    RtMidiOut& out_;
};

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
    RtMidiIn sink(RtMidi::UNIX_JACK, "bench-sink");
    sink.setCallback([](double, std::vector<unsigned char>*, void*) {}, nullptr);
    sink.openVirtualPort("in");
    RtMidiOut out(RtMidi::UNIX_JACK, "bench-port");
    for (unsigned i = 0; i < out.getPortCount(); ++i) {
        if (out.getPortName(i).find("bench-sink") != std::string::npos) out.openPort(i, "out");
    }
    const std::vector<double> times = EventTimes();
    double ratio = 0, portP99 = 0, bareP99 = 0;
    for (auto _ : state) {
        // The bare loop.
        std::vector<double> bare;
        const double start = NowMs() + 20;
        const Clock::time_point origin = Clock::now() + std::chrono::milliseconds(20);
        for (double t : times) {
            std::this_thread::sleep_until(origin + std::chrono::duration_cast<Clock::duration>(
                                                       std::chrono::duration<double, std::milli>(t)));
            bare.push_back(NowMs() - (start + t));
        }
        // The playback thread with the same times.
        Timeline timeline;
        for (double t : times) {
            timeline.events.push_back({t, 0, 1, SeqEventKind::Message, NoteOnMessage(0, 60, 1), 0, 0});
        }
        timeline.endMs = times.back();
        MeasuringPort port(out);
        {
            ScheduledPlayback playback(port, true);
            playback.Start(timeline, 1, nullptr);
            while (port.lateness.size() < times.size())
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        bareP99 = std::max(P99(bare), 1e-3);
        portP99 = P99(port.lateness);
        ratio = portP99 / bareP99;
    }
    state.counters["port_lateness_p99_ratio"] = ratio;
    state.counters["port_lateness_p99_ms"] = portP99;
    state.counters["sleep_until_lateness_p99_ms"] = bareP99;
    state.counters["events"] = kEvents;
}

}  // namespace

BENCHMARK(BM_PortLateness)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
