// Key decoding: turns the bytes a terminal sends into the key codes the game
// reads, one byte at a time, so the caller decides how long to wait for the
// rest of an escape sequence.
//
// An arrow arrives as ESC [ A (or ESC O A in application mode) and becomes the
// extended-key prefix 224 followed by 72 (up), 80 (down), 77 (right) or 75
// (left). Every other complete escape sequence is swallowed whole:
//   - a control sequence ESC [ {0x20..0x3F}* {0x40..0x7E}, such as ESC [ 2 ~ or
//     ESC [ 1 ; 5 A (a modified arrow is not an arrow);
//   - ESC O and one more byte (the keypad and F1 to F4 in application mode);
//   - ESC [ [ and one more byte (F1 to F5 on the Linux console);
//   - ESC and any other byte but ESC, [ and O, control bytes included: Alt
//     held with a key (Alt-Enter is ESC CR).
// After ESC [ or ESC O, a byte that cannot continue the sequence (a control
// byte, or one above 0x7E) ends it unfinished; the unfinished part is dropped
// and the byte is decoded afresh, so ESC [ ESC [ A is still an arrow. ESC ESC
// gives 27 for the first ESC and starts over with the second.
//
// An ESC that nothing follows is the Escape key itself, 27; only the caller
// knows when nothing more will come (a quiet moment on a terminal, the end of
// a piped input) and then calls finish_key_sequence. An unfinished sequence
// other than a lone ESC is dropped there.
#pragma once

#include <array>

// Where the decoder stands within an escape sequence.
enum class key_decoder_state : unsigned char {
    ground,            // between keys
    escape,            // after ESC
    csi_start,         // after ESC [
    csi_body,          // after ESC [ and a parameter or intermediate byte
    ss3,               // after ESC O
    console_function,  // after ESC [ [
};

struct key_decoder {
    key_decoder_state state = key_decoder_state::ground;
};

// The key codes one byte completes: none, one, or the two codes of an arrow.
struct decoded_keys {
    std::array<int, 2> codes{};
    int count = 0;
};

// Feeds one input byte to the decoder.
decoded_keys decode_key_byte(key_decoder& decoder, unsigned char byte);

// True while the decoder holds the start of an escape sequence.
bool key_sequence_pending(const key_decoder& decoder);

// Settles what the decoder holds once no more bytes will follow it: a lone ESC
// becomes 27, anything else unfinished is dropped.
decoded_keys finish_key_sequence(key_decoder& decoder);
