// Fuzzes the key decoder with arbitrary input bytes: every code it gives is
// a byte value, an arrow's 224 is always followed by an arrow's code, and it
// never holds more than the start of one sequence at the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "console/key_decoder.h"

namespace {

void check(const decoded_keys& keys) {
    if (keys.count < 0 || keys.count > 2) {
        std::abort();
    }
    for (int i = 0; i < keys.count; ++i) {
        if (keys.codes[i] < 0 || keys.codes[i] > 255) {
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    key_decoder decoder;
    for (std::size_t i = 0; i < size; ++i) {
        check(decode_key_byte(decoder, data[i]));
    }
    check(finish_key_sequence(decoder));
    if (key_sequence_pending(decoder)) {
        std::abort();
    }
    return 0;
}
