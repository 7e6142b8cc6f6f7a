// Key decoding: terminal input bytes to the key codes the game reads.
#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

void collect(std::vector<int>& codes, const decoded_keys& keys) {
    for (int i = 0; i < keys.count; ++i) {
        codes.push_back(keys.codes[i]);
    }
}

// Feeds every byte, then settles the end as the backend does when the input
// goes quiet or ends.
std::vector<int> decode_all(const std::string& bytes) {
    key_decoder decoder;
    std::vector<int> codes;
    for (char c : bytes) {
        collect(codes, decode_key_byte(decoder, static_cast<unsigned char>(c)));
    }
    collect(codes, finish_key_sequence(decoder));
    return codes;
}

TEST(key_decoder_test, decodes_keys_and_swallows_other_sequences) {
    struct decode_case {
        const char* name;
        std::string bytes;
        std::vector<int> codes;
    };
    const decode_case cases[] = {
        {"plain bytes are their own codes", "MH q", {77, 72, 32, 113}},
        {"every byte value passes", std::string("\x00\x0D\xE0\xFF", 4), {0, 13, 224, 255}},
        {"csi arrows", "\x1b[A\x1b[B\x1b[C\x1b[D", {224, 72, 224, 80, 224, 77, 224, 75}},
        {"application-mode arrows",
         "\x1bOA\x1bOB\x1bOC\x1bOD",
         {224, 72, 224, 80, 224, 77, 224, 75}},
        {"lone escape at the end", "\x1b", {27}},
        {"escape before an arrow", "\x1b\x1b[A", {27, 224, 72}},
        {"two lone escapes", "\x1b\x1b", {27, 27}},
        {"modified arrow swallowed", "\x1b[1;5Aq", {113}},
        {"function keys swallowed", "\x1b[15~\x1bOP\x1b[2~M", {77}},
        {"csi with intermediate byte swallowed", "\x1b[0 qM", {77}},
        {"linux console function key swallowed", "\x1b[[AM", {77}},
        {"alt with a key swallowed", "\x1bq\x1b \x1b\rM", {77}},
        {"unfinished csi at the end dropped", "M\x1b[1;", {77}},
        {"unfinished ss3 at the end dropped", "M\x1bO", {77}},
        {"control byte ends a csi and counts", "\x1b[1\rM", {13, 77}},
        {"escape restarts a broken csi", "\x1b[1\x1b[C", {224, 77}},
        {"escape restarts a broken ss3", "\x1bO\x1bOD", {224, 75}},
        {"high byte ends a csi and counts", "\x1b[\xE0", {224}},
    };
    for (const decode_case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decode_all(c.bytes), c.codes);
    }
}

// A lone ESC is held back, not reported, until the caller settles it: it may
// still be the start of an arrow.
TEST(key_decoder_test, escape_waits_for_the_caller_to_settle_it) {
    key_decoder decoder;
    EXPECT_FALSE(key_sequence_pending(decoder));
    EXPECT_EQ(decode_key_byte(decoder, 0x1B).count, 0);
    EXPECT_TRUE(key_sequence_pending(decoder));

    const decoded_keys settled = finish_key_sequence(decoder);
    ASSERT_EQ(settled.count, 1);
    EXPECT_EQ(settled.codes[0], 27);
    EXPECT_FALSE(key_sequence_pending(decoder));
    EXPECT_EQ(finish_key_sequence(decoder).count, 0);

    // Once settled, the same decoder reads an arrow whole again.
    decode_key_byte(decoder, 0x1B);
    decode_key_byte(decoder, '[');
    EXPECT_TRUE(key_sequence_pending(decoder));
    const decoded_keys arrow = decode_key_byte(decoder, 'A');
    ASSERT_EQ(arrow.count, 2);
    EXPECT_EQ(arrow.codes[0], 224);
    EXPECT_EQ(arrow.codes[1], 72);
}

}  // namespace
