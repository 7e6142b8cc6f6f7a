// Key decoding: the state machine that turns terminal input bytes into key
// codes (see key_decoder.h for the sequences it knows).
#include "console/key_decoder.h"

#include "console/ops.h"

namespace {

constexpr unsigned char byte_escape = 0x1B;
constexpr unsigned char csi_introducer = '[';
constexpr unsigned char ss3_introducer = 'O';

decoded_keys no_keys() {
    return {};
}

decoded_keys one_key(int code) {
    return {{code, 0}, 1};
}

// The arrow that final byte A, B, C or D names, or no keys for any other.
decoded_keys arrow_or_nothing(unsigned char final_byte) {
    switch (final_byte) {
        case 'A':
            return {{key_extended_prefix, key_up}, 2};
        case 'B':
            return {{key_extended_prefix, key_down}, 2};
        case 'C':
            return {{key_extended_prefix, key_right}, 2};
        case 'D':
            return {{key_extended_prefix, key_left}, 2};
        default:
            return no_keys();
    }
}

// Bytes that may stand inside or at the end of an escape sequence.
bool in_sequence_range(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x7E;
}

// Parameter (0x30..0x3F) and intermediate (0x20..0x2F) bytes of a control
// sequence; the final byte is 0x40..0x7E.
bool continues_control_sequence(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x3F;
}

decoded_keys after_escape(key_decoder& decoder, unsigned char byte) {
    switch (byte) {
        case byte_escape:
            return one_key(key_escape);  // the first ESC stood alone
        case csi_introducer:
            decoder.state = key_decoder_state::csi_start;
            return no_keys();
        case ss3_introducer:
            decoder.state = key_decoder_state::ss3;
            return no_keys();
        default:
            decoder.state = key_decoder_state::ground;  // Alt with a key
            return no_keys();
    }
}

decoded_keys after_csi_start(key_decoder& decoder, unsigned char byte) {
    if (byte == csi_introducer) {
        decoder.state = key_decoder_state::console_function;
        return no_keys();
    }
    if (continues_control_sequence(byte)) {
        decoder.state = key_decoder_state::csi_body;
        return no_keys();
    }
    decoder.state = key_decoder_state::ground;
    return arrow_or_nothing(byte);
}

}  // namespace

decoded_keys decode_key_byte(key_decoder& decoder, unsigned char byte) {
    const key_decoder_state state = decoder.state;
    if (state != key_decoder_state::ground && state != key_decoder_state::escape &&
        !in_sequence_range(byte)) {
        decoder.state = key_decoder_state::ground;  // drop the unfinished sequence
        return decode_key_byte(decoder, byte);
    }
    switch (state) {
        case key_decoder_state::ground:
            if (byte == byte_escape) {
                decoder.state = key_decoder_state::escape;
                return no_keys();
            }
            return one_key(byte);
        case key_decoder_state::escape:
            return after_escape(decoder, byte);
        case key_decoder_state::csi_start:
            return after_csi_start(decoder, byte);
        case key_decoder_state::csi_body:
            if (!continues_control_sequence(byte)) {
                decoder.state = key_decoder_state::ground;
            }
            return no_keys();
        case key_decoder_state::ss3:
            decoder.state = key_decoder_state::ground;
            return arrow_or_nothing(byte);
        case key_decoder_state::console_function:
            decoder.state = key_decoder_state::ground;
            return no_keys();
    }
    return no_keys();
}

bool key_sequence_pending(const key_decoder& decoder) {
    return decoder.state != key_decoder_state::ground;
}

decoded_keys finish_key_sequence(key_decoder& decoder) {
    const bool lone_escape = decoder.state == key_decoder_state::escape;
    decoder.state = key_decoder_state::ground;
    return lone_escape ? one_key(key_escape) : no_keys();
}
