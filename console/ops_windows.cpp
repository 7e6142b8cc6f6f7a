// The console operations on the Windows console: keys from conio, output in
// one buffer that leaves as UTF-16 glyphs on a console or as UTF-8 text when
// redirected, and the screen cleared with the console's own buffer calls.
//
// When standard input is not a console, each of its bytes is one key, and once
// it has ended every key is q: a script drives the game tick by tick.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <conio.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "console/cp437.h"
#include "console/key_decoder.h"
#include "console/ops.h"

namespace {

// The first code of a function key, which a second code follows, as one
// follows key_extended_prefix.
constexpr int key_function = 0;

constexpr std::string_view pause_prompt = "Press any key to continue . . . ";
// Home, then erase the whole screen: the clear as a redirected stream sees it.
constexpr std::string_view clear_sequence = "\x1b[H\x1b[2J";

struct std_handles {
    HANDLE in;
    HANDLE out;
    HANDLE err;
    bool in_console;
    bool out_console;
    bool err_console;
};

// Keys read from a file or a pipe, a block at a time, through the same
// decoder as on a terminal, so a script plays alike on every system.
struct script_input {
    std::array<unsigned char, 4096> bytes;
    DWORD length;
    DWORD next;
    bool ended;
    key_decoder decoder;
    decoded_keys press;  // the codes of the key press being read
    int taken;           // how many of them have been read
};

// Only one of the two holds text: the console takes UTF-16, anything else
// the UTF-8 form of the same glyphs.
std::wstring pending_console;
std::string pending_stream;
script_input script{};
std::minstd_rand random_sequence;

bool is_console(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && handle != nullptr && GetConsoleMode(handle, &mode);
}

void write_all_console(HANDLE handle, std::wstring_view text) {
    while (!text.empty()) {
        DWORD written = 0;
        if (!WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written,
                           nullptr) ||
            written == 0) {
            return;
        }
        text.remove_prefix(written);
    }
}

void write_all_stream(HANDLE handle, std::string_view bytes) {
    while (!bytes.empty()) {
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written == 0) {
            return;
        }
        bytes.remove_prefix(written);
    }
}

void flush_output();

// Looks at the three standard handles once, on the first operation, and
// makes sure what is still buffered at exit reaches the screen.
const std_handles& handles() {
    static const std_handles found = [] {
        std_handles h{};
        h.in = GetStdHandle(STD_INPUT_HANDLE);
        h.out = GetStdHandle(STD_OUTPUT_HANDLE);
        h.err = GetStdHandle(STD_ERROR_HANDLE);
        h.in_console = is_console(h.in);
        h.out_console = is_console(h.out);
        h.err_console = is_console(h.err);
        std::atexit(flush_output);
        return h;
    }();
    return found;
}

// The glyph of a code page 437 byte as UTF-16; TAB, LF and CR stay controls.
// Every glyph of the table lies in the Basic Multilingual Plane, so each
// byte is one UTF-16 unit and one cell on the screen.
void append_cp437_as_utf16(std::wstring& out, unsigned char byte) {
    if (cp437_passes_as_control(byte)) {
        out.push_back(static_cast<wchar_t>(byte));
        return;
    }
    out.push_back(static_cast<wchar_t>(cp437_to_unicode(byte)));
}

// Text that must stay on one line (a title, an error line): TAB, LF and CR
// become blanks, every other byte its glyph.
void append_one_line_utf16(std::wstring& out, std::string_view bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        append_cp437_as_utf16(out, cp437_passes_as_control(byte) ? ' ' : byte);
    }
}

void flush_output() {
    const std_handles& h = handles();
    if (!pending_console.empty()) {
        write_all_console(h.out, pending_console);
        pending_console.clear();
    }
    if (!pending_stream.empty()) {
        write_all_stream(h.out, pending_stream);
        pending_stream.clear();
    }
}

// Blanks the whole screen buffer in the current colours and puts the cursor
// in its top-left corner, which brings the window back to the top.
void clear_console(HANDLE out) {
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(out, &info)) {
        return;
    }
    const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
    const COORD home = {0, 0};
    DWORD done = 0;
    FillConsoleOutputCharacterW(out, L' ', cells, home, &done);
    FillConsoleOutputAttribute(out, info.wAttributes, cells, home, &done);
    SetConsoleCursorPosition(out, home);
}

// Makes the script's next key code ready: reads and decodes bytes until a
// key press is complete or the input has ended. Blocks until a byte comes, so
// a slow writer still gives one key a tick.
void prepare_script_key() {
    while (script.taken == script.press.count && !script.ended) {
        if (script.next == script.length) {
            DWORD got = 0;
            if (!ReadFile(handles().in, script.bytes.data(),
                          static_cast<DWORD>(script.bytes.size()), &got, nullptr) ||
                got == 0) {
                script.ended = true;
                script.press = finish_key_sequence(script.decoder);
                script.taken = 0;
                return;
            }
            script.length = got;
            script.next = 0;
        }
        script.press = decode_key_byte(script.decoder, script.bytes[script.next++]);
        script.taken = 0;
    }
}

// The script's next key code; q for ever once the input has ended.
int read_script_key() {
    prepare_script_key();
    if (script.taken == script.press.count) {
        return key_quit;
    }
    return script.press.codes[static_cast<std::size_t>(script.taken++)];
}

}  // namespace

void clear_screen() {
    const std_handles& h = handles();
    if (h.out_console) {
        flush_output();
        clear_console(h.out);
    } else {
        pending_stream.append(clear_sequence);
    }
}

void pause_for_key() {
    write_text(pause_prompt);
    flush_output();
    if (handles().in_console) {
        const int first = _getch();
        if (first == key_extended_prefix || first == key_function) {
            _getch();  // the second code of the same key
        }
    } else {
        // One key press, an arrow's two codes together; at once when the
        // input has ended.
        prepare_script_key();
        script.taken = script.press.count;
    }
    write_text("\n");
}

void set_title(std::string_view title) {
    std::wstring wide;
    append_one_line_utf16(wide, title);
    SetConsoleTitleW(wide.c_str());
}

bool key_waiting() {
    if (handles().in_console) {
        return _kbhit() != 0;
    }
    // A script always has a key: its next byte, or q once it has ended.
    return true;
}

int read_key() {
    // Either read may block until a key comes.
    flush_output();
    if (handles().in_console) {
        return _getch();
    }
    return read_script_key();
}

void sleep_ms(int ms) {
    flush_output();
    Sleep(static_cast<DWORD>(ms > 0 ? ms : 0));
}

void seed_random(std::uint32_t seed) {
    random_sequence.seed(seed);
}

std::int32_t next_random() {
    // The minimal standard generator stays below 2^31 - 1, so every result
    // fits a non-negative int32.
    return static_cast<std::int32_t>(random_sequence());
}

void write_text(std::string_view bytes) {
    if (handles().out_console) {
        for (const char c : bytes) {
            append_cp437_as_utf16(pending_console, static_cast<unsigned char>(c));
        }
    } else {
        for (const char c : bytes) {
            append_cp437_as_utf8(pending_stream, static_cast<unsigned char>(c));
        }
    }
}

void write_number(std::int32_t n) {
    write_text(std::to_string(n));
}

void write_error_line(std::string_view line) {
    flush_output();
    const std_handles& h = handles();
    // The line's bytes are shown as glyphs here too, so none can act as a
    // control on the console it shares with the game.
    if (h.err_console) {
        std::wstring wide;
        append_one_line_utf16(wide, line);
        wide.append(L"\r\n");
        write_all_console(h.err, wide);
    } else {
        std::string text;
        append_cp437_line_as_utf8(text, line);
        text.append("\r\n");
        write_all_stream(h.err, text);
    }
}
