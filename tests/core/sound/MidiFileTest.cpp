// Checking MIDI files before they are played, and writing them.
#include "sound/MidiFile.h"

#include <gtest/gtest.h>

using namespace kalvintor::sound;

namespace {

std::vector<std::uint8_t> ValidFile() {
    return WriteMidiFile(480,
                         {{0, {0x90, 60, 100}}, {480, {0x80, 60, 0}}, {480, {0x90, 64, 90}}, {960, {64, 0}}});
}

}  // namespace

TEST(MidiFile, WrittenFileReadsBackWithItsEvents) {
    const std::vector<std::uint8_t> file = ValidFile();
    const std::vector<std::uint8_t> expectedStart = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                                                     0,   0,   1,   0x01, 0xE0, 'M', 'T', 'r', 'k'};
    ASSERT_GE(file.size(), expectedStart.size());
    EXPECT_TRUE(std::equal(expectedStart.begin(), expectedStart.end(), file.begin()));
    const MidiFileCheck check = CheckMidiFile(file);
    EXPECT_TRUE(check.Ok());
    EXPECT_EQ(check.tracks, 1);
    EXPECT_EQ(check.events, 5) << "four notes, the last in running status, and the end of track";
    EXPECT_EQ(check.division, 480);
}

TEST(MidiFile, DamagedFilesAreRefusedWithTheReason) {
    const std::vector<std::uint8_t> good = ValidFile();
    auto with = [&good](std::size_t at, std::uint8_t value) {
        auto f = good;
        f[at] = value;
        return f;
    };
    auto cut = [&good](std::size_t size) {
        return std::vector<std::uint8_t>(good.begin(), good.begin() + size);
    };
    const std::size_t trackLength = 21;  // low byte of the track chunk's length
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
        MidiFileError error;
    };
    const Case cases[] = {
        {"empty", {}, MidiFileError::TooShort},
        {"a wave file", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 0, 0}, MidiFileError::NoHeader},
        {"format 3", with(9, 3), MidiFileError::BadFormat},
        {"no tracks", with(11, 0), MidiFileError::NoTracks},
        {"SMPTE timing", with(12, 0xE7), MidiFileError::SmpteTiming},
        {"header length beyond the file", with(7, 0xFF), MidiFileError::BadHeaderLength},
        {"header only", cut(14), MidiFileError::TrackMissing},
        {"track longer than the file", with(trackLength, 0xF0), MidiFileError::TrackBeyondEnd},
        {"track cut short", cut(good.size() - 3), MidiFileError::TrackBeyondEnd},
        {"data byte with its top bit set", with(25, 0xBC), MidiFileError::BadEvent},
        {"running status with no status", with(23, 0x3C), MidiFileError::BadEvent},
    };
    for (const Case& c : cases) EXPECT_EQ(CheckMidiFile(c.bytes).error, c.error) << c.what;

    // A track whose end-of-track is missing.
    auto noEnd = good;
    noEnd.resize(noEnd.size() - 4);
    noEnd[trackLength] = static_cast<std::uint8_t>(noEnd[trackLength] - 4);
    EXPECT_EQ(CheckMidiFile(noEnd).error, MidiFileError::NoEndOfTrack);
}
