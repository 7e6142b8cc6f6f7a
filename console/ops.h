// The console operations the game relies on: the seam between the rules and
// the machine. Each backend is one source file, chosen when the program is
// linked: the terminal for the game, a script for the tests.
//
// Every byte the game writes is a code page 437 byte; a backend shows each as
// its glyph. TAB, LF and CR act as controls; no other byte may.
#pragma once

#include <cstdint>
#include <string_view>

// Blanks the screen; the next output starts at the top-left corner.
void clear_screen();

// Shows a prompt and returns after one key press, which it consumes.
void pause_for_key();

// Sets the window's title.
void set_title(std::string_view title);

// Returns at once: true when a key code is waiting to be read.
bool key_waiting();

// Key codes as read_key gives them. An arrow key gives key_extended_prefix
// and then its own code, which a typed capital H, P, K or M gives too.
constexpr int key_extended_prefix = 224;
constexpr int key_up = 72;
constexpr int key_down = 80;
constexpr int key_left = 75;
constexpr int key_right = 77;
constexpr int key_escape = 27;
constexpr int key_quit = 'q';  // also what every read gives once a script has ended

// The next key code, 0 to 255, without echo. After key_extended_prefix the
// arrow's code is waiting as soon as the prefix has been read.
int read_key();

// Suspends the game for about that many milliseconds. Everything written
// before it is on the screen when the sleep starts.
void sleep_ms(int ms);

// Starts the random sequence from a seed.
void seed_random(std::uint32_t seed);

// The next number of the random sequence, never negative.
std::int32_t next_random();

// Writes code page 437 bytes, in order.
void write_text(std::string_view bytes);

// Writes a signed decimal number with no padding.
void write_number(std::int32_t n);

// Writes one line of plain text to the error stream, after everything
// already written to the screen.
void write_error_line(std::string_view line);
