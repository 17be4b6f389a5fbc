// Code page 1252, the 8-bit text of every record, to and from the UTF-8 the rest of the program uses.
#pragma once

#include <string>
#include <string_view>

namespace kalvintor::records {

// Every byte maps to one character; the five bytes code page 1252 leaves undefined map to the
// C1 controls of the same value, so any byte string survives a round trip unchanged.
std::string cp1252ToUtf8(std::string_view bytes);

// One byte per character; characters code page 1252 cannot hold become '?'. Malformed UTF-8
// bytes are taken as code page 1252 bytes, as the reading side does.
std::string utf8ToCp1252(std::string_view utf8);

// Text from outside (language and help files): valid UTF-8 sequences are kept, every byte that
// does not start a valid sequence is read as code page 1252.
std::string utf8WithCp1252Fallback(std::string_view bytes);

}  // namespace kalvintor::records
