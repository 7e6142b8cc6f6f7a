// Code page 437: the glyph that each byte the game writes stands for.
#pragma once

#include <string>
#include <string_view>

// The Unicode code point of the glyph of a code page 437 byte, by the IBM
// table: 0x01 is U+263A (white smiling face), 0x7F is U+2302 (house), 0xDB is
// U+2588 (full block). Byte 0x00 is shown blank (U+0020).
char32_t cp437_to_unicode(unsigned char byte);

// Appends the UTF-8 form of what a byte shows: TAB, LF and CR stay as they
// are, every other byte becomes its glyph, so no control byte passes.
void append_cp437_as_utf8(std::string& out, unsigned char byte);

// True for the only bytes that act on the screen: TAB, LF and CR.
constexpr bool cp437_passes_as_control(unsigned char byte) {
    return byte == '\t' || byte == '\n' || byte == '\r';
}

// Appends text that must stay on one line, such as a title or an error line:
// TAB, LF and CR become blanks, every other byte its glyph.
void append_cp437_line_as_utf8(std::string& out, std::string_view bytes);
