// The tap lateness in the local configuration: [TapLatency] Keyboard, MidiKey, Clap in milliseconds.
#include "rhythm/TapLatency.h"

#include <QSettings>

#include <algorithm>
#include <optional>

namespace kalvintor::ui::rhythm {

namespace r = kalvintor::rhythm;

namespace {

const char* const kKeys[r::kTapSources] = {"TapLatency/Keyboard", "TapLatency/MidiKey", "TapLatency/Clap"};

QSettings localSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Kalvintor"),
                     QStringLiteral("workstation"));
}

std::optional<r::LatencyOffsets>& cache() {
    static std::optional<r::LatencyOffsets> offsets;
    return offsets;
}

r::LatencyOffsets read() {
    r::LatencyOffsets offsets;
    const QSettings s = localSettings();
    for (int i = 0; i < r::kTapSources; ++i) {
        // A value edited by hand beyond any machine's lateness is not used.
        const int value = s.value(QString::fromLatin1(kKeys[i]), 0).toInt();
        offsets.ms[static_cast<std::size_t>(i)] = std::abs(value) <= r::kMaxLatencyMs ? value : 0;
    }
    return offsets;
}

}  // namespace

const r::LatencyOffsets& TapLatency() {
    if (!cache()) cache() = read();
    return *cache();
}

void StoreTapLatency(r::TapSource source, int offsetMs) {
    const int value = std::clamp(offsetMs, -r::kMaxLatencyMs, r::kMaxLatencyMs);
    QSettings s = localSettings();
    s.setValue(QString::fromLatin1(kKeys[static_cast<int>(source)]), value);
    s.sync();
    if (!cache()) cache() = read();
    cache()->set(source, value);
}

void ReloadTapLatency() {
    cache() = read();
}

}  // namespace kalvintor::ui::rhythm
