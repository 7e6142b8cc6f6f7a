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

// The next key code, 0 to 255, without echo. An arrow key gives 224 and then
// 72 (up), 80 (down), 75 (left) or 77 (right); the second code is waiting as
// soon as the first has been read.
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
