// Standard MIDI file checking and writing.
#include "sound/MidiFile.h"

#include "sound/MidiMessage.h"

#include <algorithm>

namespace kalvintor::sound {

namespace {

constexpr std::size_t kHeaderChunkSize = 14;
constexpr std::uint32_t kHeaderLength = 6;
constexpr std::size_t kChunkHeaderSize = 8;
constexpr std::uint8_t kMetaEvent = 0xFF;
constexpr std::uint8_t kSysEx = 0xF0;
constexpr std::uint8_t kSysExContinuation = 0xF7;
constexpr std::uint8_t kEndOfTrack = 0x2F;
constexpr int kMaxVarLengthBytes = 4;

std::uint32_t Big(std::span<const std::uint8_t> b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = v << 8 | b[at + static_cast<std::size_t>(i)];
    return v;
}

bool SameTag(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
    return std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Reads a variable-length quantity within [pos, end); false when it runs off or is too long.
bool ReadVar(std::span<const std::uint8_t> b, std::size_t& pos, std::size_t end, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < kMaxVarLengthBytes; ++i) {
        if (pos >= end) return false;
        const std::uint8_t byte = b[pos++];
        value = value << 7 | (byte & 0x7F);
        if ((byte & 0x80) == 0) return true;
    }
    return false;
}

MidiFileError CheckTrack(std::span<const std::uint8_t> b, std::size_t pos, std::size_t end, int& events) {
    std::uint8_t running = 0;
    while (pos < end) {
        std::uint32_t delta = 0;
        if (!ReadVar(b, pos, end, delta) || pos >= end) return MidiFileError::BadEvent;
        std::uint8_t status = b[pos];
        ++events;
        if (status == kMetaEvent) {
            if (pos + 2 > end) return MidiFileError::BadEvent;
            const std::uint8_t type = b[pos + 1];
            pos += 2;
            std::uint32_t length = 0;
            if (!ReadVar(b, pos, end, length) || length > end - pos) return MidiFileError::BadEvent;
            pos += length;
            if (type == kEndOfTrack) return MidiFileError::None;
            continue;
        }
        if (status == kSysEx || status == kSysExContinuation) {
            ++pos;
            std::uint32_t length = 0;
            if (!ReadVar(b, pos, end, length) || length > end - pos) return MidiFileError::BadEvent;
            pos += length;
            continue;
        }
        if (status & 0x80) {
            if (status >= kSysEx) return MidiFileError::BadEvent;  // real-time bytes do not belong here
            running = status;
            ++pos;
        } else if (running == 0) {
            return MidiFileError::BadEvent;
        }
        const int n = DataLength(running);
        if (pos + static_cast<std::size_t>(n) > end) return MidiFileError::BadEvent;
        for (int i = 0; i < n; ++i) {
            if (b[pos++] & 0x80) return MidiFileError::BadEvent;
        }
    }
    return MidiFileError::NoEndOfTrack;
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t v, int n) {
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutVar(std::vector<std::uint8_t>& out, std::uint32_t v) {
    std::uint8_t groups[kMaxVarLengthBytes + 1];
    int n = 0;
    do {
        groups[n++] = v & 0x7F;
        v >>= 7;
    } while (v != 0 && n < kMaxVarLengthBytes + 1);
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(groups[i] | (i > 0 ? 0x80 : 0)));
}

}  // namespace

MidiFileCheck CheckMidiFile(std::span<const std::uint8_t> bytes) {
    MidiFileCheck check;
    if (bytes.size() < kHeaderChunkSize) return {MidiFileError::TooShort};
    if (!SameTag(bytes, 0, "MThd")) return {MidiFileError::NoHeader};
    const std::uint32_t headerLength = Big(bytes, 4, 4);
    if (headerLength < kHeaderLength || headerLength > bytes.size() - kChunkHeaderSize) {
        return {MidiFileError::BadHeaderLength};
    }
    const std::uint32_t format = Big(bytes, 8, 2);
    const std::uint32_t tracks = Big(bytes, 10, 2);
    check.division = static_cast<std::uint16_t>(Big(bytes, 12, 2));
    if (format > 2) return {MidiFileError::BadFormat};
    if (tracks == 0) return {MidiFileError::NoTracks};
    if (check.division & 0x8000 || check.division == 0) return {MidiFileError::SmpteTiming};

    std::size_t pos = kChunkHeaderSize + headerLength;
    while (check.tracks < static_cast<int>(tracks)) {
        if (bytes.size() - pos < kChunkHeaderSize) {
            check.error = MidiFileError::TrackMissing;
            return check;
        }
        const std::uint32_t length = Big(bytes, pos + 4, 4);
        const bool isTrack = SameTag(bytes, pos, "MTrk");
        pos += kChunkHeaderSize;
        if (length > bytes.size() - pos) {
            check.error = MidiFileError::TrackBeyondEnd;
            return check;
        }
        if (isTrack) {  // chunks of other kinds are skipped
            check.error = CheckTrack(bytes, pos, pos + length, check.events);
            if (!check.Ok()) return check;
            ++check.tracks;
        }
        pos += length;
    }
    return check;
}

std::vector<std::uint8_t> WriteMidiFile(std::uint16_t division, std::vector<MidiFileEvent> events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const MidiFileEvent& a, const MidiFileEvent& b) { return a.tick < b.tick; });
    std::vector<std::uint8_t> track;
    std::uint32_t tick = 0;
    for (const MidiFileEvent& e : events) {
        PutVar(track, e.tick - tick);
        tick = e.tick;
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
    }
    track.insert(track.end(), {std::uint8_t{0}, kMetaEvent, kEndOfTrack, std::uint8_t{0}});

    std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
    PutBig(out, kHeaderLength, 4);
    PutBig(out, 0, 2);  // format 0
    PutBig(out, 1, 2);  // one track
    PutBig(out, division, 2);
    for (char c : {'M', 'T', 'r', 'k'}) out.push_back(static_cast<std::uint8_t>(c));
    PutBig(out, static_cast<std::uint32_t>(track.size()), 4);
    out.insert(out.end(), track.begin(), track.end());
    return out;
}

}  // namespace kalvintor::sound
