// The decorations the language loader adds to some texts before they reach their targets.
#pragma once

#include <string>
#include <string_view>

namespace kalvintor::language {

enum class Decoration {
    None,
    MenuTitle,      // "&" in front: the first letter becomes the menu key
    OpensDialog,    // "..." appended
    Label,          // ":" appended
    ChooserNote,    // "* = " in front
    SetupHeading,   // "-- " + TEXT + " " + dashes making 32 characters with the text
    ReportCaption,  // "..." appended
};

std::string decorate(std::string_view utf8, Decoration decoration);

// Upper case of the letters of the Latin scripts the language files use (ASCII, Latin-1, and the
// few further letters of code page 1252); other characters stay as they are.
std::string toUpperLatin(std::string_view utf8);

// Number of characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view utf8);

}  // namespace kalvintor::language
