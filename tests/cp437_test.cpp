// Code page 437 glyphs: what each byte the game writes becomes on the screen.
#include "console/cp437.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The screen form of all 256 bytes, written as the glyphs a reader sees, so a
// slip in the table of code points shows as a wrong row here.
TEST(cp437_test, every_byte_shows_its_glyph_and_only_tab_lf_cr_stay_controls) {
    struct row_case {
        int first_byte;
        std::string shown;
    };
    const row_case rows[] = {
        {0x00, " ☺☻♥♦♣♠•◘\t\n♂♀\r♫☼"},   {0x10, "►◄↕‼¶§▬↨↑↓→←∟↔▲▼"}, {0x20, " !\"#$%&'()*+,-./"},
        {0x30, "0123456789:;<=>?"},      {0x40, "@ABCDEFGHIJKLMNO"}, {0x50, "PQRSTUVWXYZ[\\]^_"},
        {0x60, "`abcdefghijklmno"},      {0x70, "pqrstuvwxyz{|}~⌂"}, {0x80, "ÇüéâäàåçêëèïîìÄÅ"},
        {0x90, "ÉæÆôöòûùÿÖÜ¢£¥₧ƒ"},      {0xA0, "áíóúñÑªº¿⌐¬½¼¡«»"}, {0xB0, "░▒▓│┤╡╢╖╕╣║╗╝╜╛┐"},
        {0xC0, "└┴┬├─┼╞╟╚╔╩╦╠═╬╧"},      {0xD0, "╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀"}, {0xE0, "αßΓπΣσµτΦΘΩδ∞φε∩"},
        {0xF0, "≡±≥≤⌠⌡÷≈°∙·√ⁿ²■\u00A0"},
    };
    for (const row_case& row : rows) {
        SCOPED_TRACE(testing::Message() << "row 0x" << std::hex << row.first_byte);
        std::string out;
        for (int byte = row.first_byte; byte < row.first_byte + 16; ++byte) {
            append_cp437_as_utf8(out, static_cast<unsigned char>(byte));
        }
        EXPECT_EQ(out, row.shown);
    }
}

// The code point is the glyph even for the bytes that pass as controls.
TEST(cp437_test, code_point_is_the_glyph_for_every_byte) {
    struct point_case {
        unsigned char byte;
        char32_t glyph;
    };
    const point_case cases[] = {
        {0x00, U' '}, {0x01, U'☺'}, {0x09, U'○'}, {0x0A, U'◙'}, {0x0D, U'♪'},
        {0x1B, U'←'}, {0x41, U'A'}, {0x7F, U'⌂'}, {0xDB, U'█'}, {0xFF, U'\u00A0'},
    };
    for (const point_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "byte " << int{c.byte});
        EXPECT_EQ(cp437_to_unicode(c.byte), c.glyph);
    }
}

// However hostile the bytes, nothing but TAB, LF and CR reaches the terminal
// as a C0 control, DEL or a C1 control, and what came before is kept.
TEST(cp437_test, no_other_control_reaches_the_screen) {
    std::string out = "kept";
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\t' && byte != '\n' && byte != '\r') {
            append_cp437_as_utf8(out, static_cast<unsigned char>(byte));
        }
    }
    ASSERT_EQ(out.substr(0, 4), "kept");
    for (std::size_t i = 0; i < out.size(); ++i) {
        const auto b = static_cast<unsigned char>(out[i]);
        EXPECT_TRUE(b >= 0x20 && b != 0x7F) << "control byte " << int{b} << " at " << i;
        // A C1 control would be the two bytes C2 80 to C2 9F.
        if (b == 0xC2 && i + 1 < out.size()) {
            EXPECT_GE(static_cast<unsigned char>(out[i + 1]), 0xA0) << "C1 control at " << i;
        }
    }
}

}  // namespace
