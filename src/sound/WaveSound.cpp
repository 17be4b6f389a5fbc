// Decoding wave files with libsndfile and bringing them to the output's rate and channels.
#include "sound/WaveSound.h"

#include "sound/CHandles.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <system_error>

namespace kalvintor::sound {

namespace {

void CloseSnd(SNDFILE* f) {
    sf_close(f);
}
using SndHandle = CHandle<SNDFILE, CloseSnd>;

// A memory file for sf_open_virtual.
struct MemoryFile {
    std::span<const std::uint8_t> bytes;
    sf_count_t pos = 0;
};

sf_count_t MemLength(void* user) {
    return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size());
}
sf_count_t MemSeek(sf_count_t offset, int whence, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const auto size = static_cast<sf_count_t>(m->bytes.size());
    sf_count_t to = whence == SEEK_SET ? offset : whence == SEEK_CUR ? m->pos + offset : size + offset;
    m->pos = std::clamp<sf_count_t>(to, 0, size);
    return m->pos;
}
sf_count_t MemRead(void* ptr, sf_count_t count, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, static_cast<sf_count_t>(m->bytes.size()) - m->pos);
    if (n > 0) std::memcpy(ptr, m->bytes.data() + m->pos, static_cast<std::size_t>(n));
    m->pos += n;
    return n;
}
sf_count_t MemWrite(const void*, sf_count_t, void*) {
    return 0;
}
sf_count_t MemTell(void* user) {
    return static_cast<MemoryFile*>(user)->pos;
}

WaveLoad Decode(SNDFILE* file, const SF_INFO& info, double sampleRate) {
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 1) return {nullptr, WaveError::Empty};
    const double seconds = static_cast<double>(info.frames) / info.samplerate;
    const auto frames = static_cast<sf_count_t>(std::min(seconds, kMaxWaveSeconds) * info.samplerate);
    std::vector<float> raw(static_cast<std::size_t>(frames) * static_cast<std::size_t>(info.channels));
    const sf_count_t got = sf_readf_float(file, raw.data(), frames);
    if (got <= 0) return {nullptr, WaveError::Empty};

    // Linear interpolation to the output rate; mono goes to both sides, further channels are dropped.
    auto sound = std::make_shared<WaveSound>();
    const double step = info.samplerate / sampleRate;
    const auto outFrames = static_cast<std::size_t>(static_cast<double>(got) / step);
    sound->frames.resize(outFrames * 2);
    const auto ch = static_cast<std::size_t>(info.channels);
    for (std::size_t i = 0; i < outFrames; ++i) {
        const double x = static_cast<double>(i) * step;
        const auto a = static_cast<std::size_t>(x);
        const std::size_t b = std::min<std::size_t>(a + 1, static_cast<std::size_t>(got) - 1);
        const auto frac = static_cast<float>(x - static_cast<double>(a));
        for (std::size_t side = 0; side < 2; ++side) {
            const std::size_t c = std::min(side, ch - 1);
            float v = raw[a * ch + c] * (1 - frac) + raw[b * ch + c] * frac;
            if (!std::isfinite(v)) v = 0;
            sound->frames[i * 2 + side] = std::clamp(v, -1.0f, 1.0f);
        }
    }
    return {std::move(sound), WaveError::None};
}

}  // namespace

WaveLoad LoadWaveFile(const std::filesystem::path& file, double sampleRate) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return {nullptr, WaveError::Missing};
    SF_INFO info{};
    SndHandle handle(sf_open(file.c_str(), SFM_READ, &info));
    if (handle == nullptr) return {nullptr, WaveError::NotAudio};
    return Decode(handle.get(), info, sampleRate);
}

WaveLoad DecodeWave(std::span<const std::uint8_t> bytes, double sampleRate) {
    MemoryFile memory{bytes, 0};
    SF_VIRTUAL_IO io{MemLength, MemSeek, MemRead, MemWrite, MemTell};
    SF_INFO info{};
    SndHandle handle(sf_open_virtual(&io, SFM_READ, &info, &memory));
    if (handle == nullptr) return {nullptr, WaveError::NotAudio};
    return Decode(handle.get(), info, sampleRate);
}

}  // namespace kalvintor::sound
