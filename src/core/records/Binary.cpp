// Double and ShortString fields of the packed records.
#include "records/Binary.h"

#include "records/Cp1252.h"

#include <algorithm>

namespace kalvintor::records {

double getF64(Bytes b, std::size_t o) {
    return std::bit_cast<double>(getLE<std::uint64_t>(b, o));
}

void putF64(MutableBytes b, std::size_t o, double v) {
    putLE(b, o, std::bit_cast<std::uint64_t>(v));
}

std::string getShortString(Bytes b, std::size_t o, std::size_t room) {
    const std::size_t length = std::min<std::size_t>(b[o], room);
    const auto* first = reinterpret_cast<const char*>(b.data() + o + 1);
    return cp1252ToUtf8(std::string_view(first, length));
}

void putShortString(MutableBytes b, std::size_t o, std::size_t room, std::string_view utf8) {
    const std::string text = utf8ToCp1252(utf8);
    const std::size_t length = std::min(text.size(), std::min<std::size_t>(room, 255));
    b[o] = static_cast<std::uint8_t>(length);
    std::copy_n(text.begin(), length, b.begin() + static_cast<std::ptrdiff_t>(o + 1));
}

}  // namespace kalvintor::records
