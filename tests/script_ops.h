// The scripted console for the tests: keys come from a queue, output is
// recorded byte for byte, sleeps add up on a fake clock and random numbers
// come from a list the test gives.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace script {

// Forgets all keys, output, sleeps and random numbers.
void reset();

// Queues key codes, one byte each, to be read in order.
void queue_keys(std::string_view codes);

// Queues numbers for the random generator to return, in order. A draw with
// none left fails the test.
void queue_random(const std::vector<std::int32_t>& numbers);

// How many random numbers are still queued, and how many were drawn.
std::size_t random_left();
int random_drawn();

// Everything written to the screen, clears included, as the bytes written.
const std::string& output();
void clear_output();

// The marker that clear_screen records in the output.
constexpr std::string_view clear_marker = "<cls>";

// What was written to the error stream.
const std::string& errors();

// A sleep or a pause, with how much output had been written before it.
struct wait_event {
    std::string what;  // "sleep 40", "pause"
    std::size_t output_before;
};
const std::vector<wait_event>& waits();

int slept_ms();  // the sum of all sleeps
int pauses();    // how many times the game waited for a key
std::string title();

}  // namespace script
