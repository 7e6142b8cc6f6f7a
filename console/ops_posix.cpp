// The console operations on a POSIX terminal, or on pipes and files.
//
// Input: when standard input is a terminal it is put in raw mode (no line
// editing, no echo, Ctrl-C still interrupts) on the first call of any
// operation, and the original settings come back at exit and when a signal
// ends or stops the program; the cursor is hidden meanwhile. Bytes go through
// the key decoder, so an arrow arrives as 224 and its code. When standard
// input is not a terminal its bytes are the keys, decoded the same way, and
// once it has ended every key read is q.
//
// Output: every byte the game writes is code page 437 and becomes its glyph in
// UTF-8; escape sequences come from this file alone. The text gathers in one
// buffer that leaves in one write() loop before every sleep, every wait for a
// key, every error line and at exit, so a whole frame reaches the screen at
// once. Output is the same whether standard output is a terminal or not.
#include "console/ops.h"

#include <poll.h>
#include <signal.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstdlib>
#include <string>

#include "console/cp437.h"
#include "console/key_decoder.h"

namespace {

using std::chrono::steady_clock;

constexpr int input_fd = STDIN_FILENO;
constexpr int output_fd = STDOUT_FILENO;
constexpr int error_fd = STDERR_FILENO;

// How long the rest of an escape sequence may take to follow its ESC on a
// terminal; a terminal sends a whole sequence at once, a person typing ESC
// and then [ takes far longer.
constexpr auto escape_sequence_wait = std::chrono::milliseconds(30);

constexpr std::string_view clear_sequence = "\x1b[H\x1b[2J";  // home, erase the screen
constexpr std::string_view title_start = "\x1b]0;";           // OSC: set the window title
constexpr std::string_view title_end = "\a";
// The terminal's own title is saved on its title stack before the game sets
// one, and taken back at the end (terminals without the stack ignore both).
constexpr std::string_view save_title = "\x1b[22;0t";
constexpr std::string_view restore_title = "\x1b[23;0t";
constexpr std::string_view hide_cursor = "\x1b[?25l";
constexpr std::string_view show_cursor = "\x1b[?25h";
constexpr std::string_view pause_prompt = "Press any key to continue . . . ";

// The signals that end the program by default and after which the terminal
// must be usable again.
constexpr std::array<int, 5> ending_signals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

// ---- the terminal's mode ---------------------------------------------------

bool ready = false;
bool input_is_terminal = false;
termios original_mode{};
termios raw_mode{};

// Set while the terminal is in raw mode. Read by the signal handlers.
volatile sig_atomic_t raw_mode_active = 0;
// Set once the game has put its title on the screen.
volatile sig_atomic_t title_saved = 0;
// Set when the game continues after a stop: the shell has drawn over the
// screen, which the next flush paints again.
volatile sig_atomic_t screen_lost = 0;

// Writes all of the text to a descriptor, through partial writes and
// interruptions; gives up only when the descriptor fails. Async-signal-safe:
// only write and poll.
void write_all(int fd, std::string_view text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd writable{fd, POLLOUT, 0};
            poll(&writable, 1, -1);
        } else if (n == 0 || errno != EINTR) {
            return;
        }
    }
}

// Async-signal-safe: only tcsetattr and write_all.
void enter_raw_mode() {
    raw_mode_active = 1;
    tcsetattr(input_fd, TCSAFLUSH, &raw_mode);
    write_all(output_fd, hide_cursor);
}

// Async-signal-safe: only tcsetattr and write_all. Keys typed but not yet read
// are dropped, so they do not spill into the shell.
void leave_raw_mode() {
    if (raw_mode_active != 0) {
        write_all(output_fd, show_cursor);
        tcsetattr(input_fd, TCSAFLUSH, &original_mode);
        raw_mode_active = 0;
    }
}

// No line editing, no echo, no flow control, no CR to LF, and all eight bits
// of every byte as it comes. ISIG stays, so Ctrl-C interrupts; OPOST stays,
// so "\n" also returns to the first column.
termios make_raw_mode(const termios& mode) {
    termios raw = mode;
    raw.c_iflag &= ~static_cast<tcflag_t>(ICRNL | IXON | ISTRIP);
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | IEXTEN);
    raw.c_cc[VMIN] = 1;  // input is read only after poll() has seen some
    raw.c_cc[VTIME] = 0;
    return raw;
}

// Gives the terminal back as the game found it, title included.
// Async-signal-safe: only tcsetattr and write_all.
void restore_terminal() {
    leave_raw_mode();
    if (title_saved != 0) {
        write_all(output_fd, restore_title);
        title_saved = 0;
    }
}

// Restores the terminal, then lets the signal do what it would have done, so
// the exit status names it. Installed with SA_RESETHAND.
void on_ending_signal(int signal_number) {
    restore_terminal();
    raise(signal_number);
}

// Installs a handler unless the signal was ignored when the game started
// (as under nohup), and blocks the other handled signals while it runs.
void install_handler(int signal_number, void (*handler)(int), int flags) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) {
        return;
    }
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = flags;
    sigemptyset(&action.sa_mask);
    for (int other : ending_signals) {
        sigaddset(&action.sa_mask, other);
    }
    sigaddset(&action.sa_mask, SIGTSTP);
    sigaction(signal_number, &action, nullptr);
}

// Ctrl-Z: the shell gets its terminal back while the game is stopped; the
// game takes raw mode again when it continues.
void on_stop_signal(int signal_number) {
    const int saved_errno = errno;
    const bool was_raw = raw_mode_active != 0;
    leave_raw_mode();
    struct sigaction default_action {};
    default_action.sa_handler = SIG_DFL;
    sigemptyset(&default_action.sa_mask);
    sigaction(signal_number, &default_action, nullptr);
    sigset_t stop_only;
    sigemptyset(&stop_only);
    sigaddset(&stop_only, signal_number);
    sigprocmask(SIG_UNBLOCK, &stop_only, nullptr);
    raise(signal_number);  // the process stops here until SIGCONT
    install_handler(signal_number, on_stop_signal, SA_RESTART);
    if (was_raw) {
        enter_raw_mode();
    }
    screen_lost = 1;
    errno = saved_errno;
}

// ---- output ----------------------------------------------------------------

// What is still to be written, and what the screen shows once it has been:
// everything written since the last clear.
std::string output;
std::string screen;

// Keeps what the screen shows, to paint it again after a stop. Only the
// backend writes the clear sequence: text bytes all become glyphs.
void remember_screen() {
    const std::size_t clear = output.rfind(clear_sequence);
    if (clear == std::string::npos) {
        screen += output;
    } else {
        screen.assign(output, clear);
    }
}

void flush_output() {
    if (input_is_terminal) {  // only a terminal's game is stopped with Ctrl-Z
        remember_screen();
    }
    if (screen_lost != 0) {
        screen_lost = 0;
        write_all(output_fd, screen);
    } else {
        write_all(output_fd, output);
    }
    output.clear();
}

void append_text(std::string_view bytes) {
    for (char c : bytes) {
        append_cp437_as_utf8(output, static_cast<unsigned char>(c));
    }
}

// ---- input -----------------------------------------------------------------

// Raw bytes read but not yet decoded, the key codes of the press being read,
// and what is known about the rest of the input.
struct key_input {
    std::array<unsigned char, 256> bytes{};
    std::size_t next = 0;
    std::size_t end = 0;
    key_decoder decoder;
    decoded_keys press;
    int taken = 0;  // codes of `press` already read
    bool ended = false;
    bool sequence_timed = false;  // a started escape sequence has a deadline
    steady_clock::time_point sequence_deadline;
};

key_input input;

bool code_ready() {
    return input.taken < input.press.count;
}

void start_press(const decoded_keys& keys) {
    input.press = keys;
    input.taken = 0;
}

// A raw 0xE0 byte from a terminal (Alt-` where Alt sends 8-bit keys, à on
// a Latin-1 terminal) would read as an arrow's first code and leave the game
// waiting for a second that no key sends; it is no key of the game's there,
// and is dropped. A script keeps it: its next byte is the second code.
decoded_keys from_this_input(const decoded_keys& keys) {
    if (input_is_terminal && keys.count == 1 && keys.codes[0] == key_extended_prefix) {
        return decoded_keys{};
    }
    return keys;
}

enum class read_result { bytes, nothing_yet, ended };

// Reads what standard input holds. On a terminal it waits at most
// `timeout_ms` (-1: as long as it takes) and reads only what poll() has seen,
// so a read of 0 bytes there means a hang-up. A pipe or file is read in
// blocking mode: its bytes are all there or its end is near.
read_result read_more(int timeout_ms) {
    if (input_is_terminal) {
        pollfd readable{input_fd, POLLIN, 0};
        const int ready_count = poll(&readable, 1, timeout_ms);
        if (ready_count == 0 || (ready_count < 0 && errno == EINTR)) {
            return read_result::nothing_yet;
        }
        if (ready_count < 0) {
            return read_result::ended;
        }
    }
    for (;;) {
        const ssize_t n = read(input_fd, input.bytes.data(), input.bytes.size());
        if (n > 0) {
            input.next = 0;
            input.end = static_cast<std::size_t>(n);
            return read_result::bytes;
        }
        if (n == 0) {
            return read_result::ended;
        }
        if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) {
            if (input_is_terminal) {
                return read_result::nothing_yet;
            }
            pollfd readable{input_fd, POLLIN, 0};
            poll(&readable, 1, -1);
            continue;
        }
        return read_result::ended;
    }
}

// The time left until `deadline` in whole milliseconds, rounded up; 0 once
// it has passed.
int milliseconds_until(steady_clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Makes the next key code ready to read. Returns true when it is, or when
// the input has ended; with `wait` false it returns false at once instead of
// waiting for a key. On a terminal a started escape sequence that does not go
// on within escape_sequence_wait of the last byte is settled: a lone ESC
// becomes 27. Bytes that came in time are always read before that.
bool prepare_key(bool wait) {
    for (;;) {
        while (!code_ready() && input.next < input.end) {
            start_press(from_this_input(decode_key_byte(input.decoder, input.bytes[input.next++])));
        }
        if (code_ready() || input.ended) {
            return true;
        }
        int timeout_ms = wait ? -1 : 0;
        const bool sequence_pending = input_is_terminal && key_sequence_pending(input.decoder);
        if (sequence_pending) {
            if (!input.sequence_timed) {
                input.sequence_timed = true;
                input.sequence_deadline = steady_clock::now() + escape_sequence_wait;
            }
            if (wait) {
                timeout_ms = milliseconds_until(input.sequence_deadline);
            }
        }
        if (timeout_ms != 0 || !input_is_terminal) {
            flush_output();  // whoever sends the keys may wait for the screen
        }
        switch (read_more(timeout_ms)) {
            case read_result::bytes:
                input.sequence_timed = false;
                break;
            case read_result::ended:
                input.ended = true;
                start_press(finish_key_sequence(input.decoder));
                break;
            case read_result::nothing_yet:
                if (sequence_pending && milliseconds_until(input.sequence_deadline) == 0) {
                    input.sequence_timed = false;
                    start_press(finish_key_sequence(input.decoder));
                } else if (!wait) {
                    return false;
                }
                break;
        }
    }
}

// ---- start and end -----------------------------------------------------------

void finish_console() {
    flush_output();
    restore_terminal();
}

// Takes the terminal on the first call of any console operation.
void ensure_ready() {
    if (ready) {
        return;
    }
    ready = true;
    std::atexit(finish_console);
    input_is_terminal = isatty(input_fd) != 0 && tcgetattr(input_fd, &original_mode) == 0;
    if (!input_is_terminal) {
        return;
    }
    raw_mode = make_raw_mode(original_mode);
    for (int signal_number : ending_signals) {
        install_handler(signal_number, on_ending_signal, SA_RESETHAND);
    }
    install_handler(SIGTSTP, on_stop_signal, SA_RESTART);
    enter_raw_mode();
}

// ---- random numbers ----------------------------------------------------------

constexpr std::uint32_t fallback_random_state = 0x9E3779B9U;
std::uint32_t random_state = fallback_random_state;

}  // namespace

void clear_screen() {
    ensure_ready();
    output += clear_sequence;
}

// The pause consumes one key press; an arrow's two codes are one press.
void pause_for_key() {
    ensure_ready();
    append_text(pause_prompt);
    flush_output();
    prepare_key(true);
    input.taken = input.press.count;
    append_text("\n");
}

// Control bytes in the title show as glyphs, and TAB, LF and CR as blanks, so
// the title cannot end the sequence that carries it.
void set_title(std::string_view title) {
    ensure_ready();
    if (title_saved == 0) {
        output += save_title;
        title_saved = 1;
    }
    output += title_start;
    append_cp437_line_as_utf8(output, title);
    output += title_end;
}

bool key_waiting() {
    ensure_ready();
    return prepare_key(false);
}

int read_key() {
    ensure_ready();
    prepare_key(true);
    if (!code_ready()) {
        return key_quit;  // the input has ended
    }
    return input.press.codes[static_cast<std::size_t>(input.taken++)];
}

void sleep_ms(int ms) {
    ensure_ready();
    flush_output();
    if (ms <= 0) {
        return;
    }
    timespec left{ms / 1000, static_cast<long>(ms % 1000) * 1'000'000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

// xorshift32; the seed is mixed first (the finaliser of MurmurHash3) so that
// the seeds of neighbouring seconds start far apart.
void seed_random(std::uint32_t seed) {
    seed ^= seed >> 16;
    seed *= 0x85EBCA6BU;
    seed ^= seed >> 13;
    seed *= 0xC2B2AE35U;
    seed ^= seed >> 16;
    random_state = seed != 0 ? seed : fallback_random_state;
}

std::int32_t next_random() {
    random_state ^= random_state << 13;
    random_state ^= random_state >> 17;
    random_state ^= random_state << 5;
    return static_cast<std::int32_t>(random_state >> 1);
}

void write_text(std::string_view bytes) {
    ensure_ready();
    append_text(bytes);
}

void write_number(std::int32_t n) {
    write_text(std::to_string(n));
}

// The line is code page 437 like the screen; TAB, LF and CR become blanks so
// that it stays one line.
void write_error_line(std::string_view line) {
    ensure_ready();
    flush_output();
    std::string text;
    append_cp437_line_as_utf8(text, line);
    text += '\n';
    write_all(error_fd, text);
}
