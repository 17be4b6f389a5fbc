// The program's one look: colours, fonts and spacing shared by every window and picture.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

namespace kalvintor::ui::style {

// Colours.
inline const QColor kInk{0x1E, 0x2A, 0x3A};   // text and notation
inline const QColor kNavy{0x1F, 0x3A, 0x5F};  // title bars, deep accents
inline const QColor kNavyLight{0x3B, 0x62, 0x8F};
inline const QColor kSand{0xE8, 0xD0, 0xA0};      // the default window colour of the settings
inline const QColor kPaper{0xFB, 0xF7, 0xEE};     // panels and staff paper
inline const QColor kAccent{0xD9, 0x82, 0x2B};    // highlights, focus
inline const QColor kRight{0x2E, 0x8B, 0x57};     // right answers
inline const QColor kWrong{0xC0, 0x39, 0x2B};     // wrong answers
inline const QColor kSounding{0xF4, 0xC8, 0x3C};  // what is sounding right now
inline const QColor kDisabled{0x9A, 0xA3, 0xAD};

// Spacing, in device-independent pixels.
inline constexpr int kGap = 8;
inline constexpr int kMargin = 12;
inline constexpr int kCorner = 6;

// The window colour stored in the settings: 0x00BBGGRR.
QColor colourFromSetting(std::int32_t value);

// The tool buttons of the tool panels: flat until hovered, checked ones sunk, disabled ones flat
// whatever their state, and the keyboard focus ringed in the accent colour.
QString toolButtonSheet();

// The user-interface font at a point size (DejaVu Sans, which every installation has).
QFont uiFont(qreal pointSize, QFont::Weight weight = QFont::Normal);

// The Bravura music font at a pixel size; a staff space is a quarter of the pixel size. Loaded
// from the program directory's fonts folder on first use; empty family when it is missing.
QFont musicFont(qreal pixelSize);
bool musicFontAvailable();
// Where the music font is looked for.
QString musicFontFile();

// SMuFL code points the shell draws.
inline constexpr char32_t kGlyphTrebleClef = 0xE050;
inline constexpr char32_t kGlyphBassClef = 0xE062;
inline constexpr char32_t kGlyphWholeNote = 0xE0A2;
inline constexpr char32_t kGlyphHalfNoteUp = 0xE1D3;
inline constexpr char32_t kGlyphQuarterNoteUp = 0xE1D5;
inline constexpr char32_t kGlyphQuarterNoteDown = 0xE1D6;
inline constexpr char32_t kGlyphEighthNoteUp = 0xE1D7;

QString glyph(char32_t codePoint);

}  // namespace kalvintor::ui::style
