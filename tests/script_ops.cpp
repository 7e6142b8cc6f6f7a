// The scripted backend of the console operations.
#include "tests/script_ops.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>

#include "console/ops.h"

namespace {

struct script_state {
    std::deque<int> keys;
    std::deque<std::int32_t> random;
    int drawn = 0;
    std::string output;
    std::string errors;
    std::string title;
    int slept_ms = 0;
    int pauses = 0;
    std::vector<script::wait_event> waits;
};

script_state& state() {
    static script_state s;
    return s;
}

}  // namespace

namespace script {

void reset() {
    state() = script_state{};
}

void queue_keys(std::string_view codes) {
    for (const char c : codes) {
        state().keys.push_back(static_cast<unsigned char>(c));
    }
}

void queue_random(const std::vector<std::int32_t>& numbers) {
    state().random.insert(state().random.end(), numbers.begin(), numbers.end());
}

std::size_t random_left() {
    return state().random.size();
}
int random_drawn() {
    return state().drawn;
}
const std::string& output() {
    return state().output;
}
void clear_output() {
    state().output.clear();
}
const std::string& errors() {
    return state().errors;
}
const std::vector<wait_event>& waits() {
    return state().waits;
}
int slept_ms() {
    return state().slept_ms;
}
int pauses() {
    return state().pauses;
}
std::string title() {
    return state().title;
}

}  // namespace script

void clear_screen() {
    state().output += script::clear_marker;
}

void pause_for_key() {
    ++state().pauses;
    state().waits.push_back({"pause", state().output.size()});
    if (!state().keys.empty()) {
        state().keys.pop_front();
    }
}

void set_title(std::string_view title) {
    state().title = title;
}

bool key_waiting() {
    return !state().keys.empty();
}

int read_key() {
    if (state().keys.empty()) {
        ADD_FAILURE() << "a key was read with none waiting";
        return 0;
    }
    const int key = state().keys.front();
    state().keys.pop_front();
    return key;
}

// A game that a test forgot to end would run for ever: after an hour of
// fake time the script fails the test and types q.
constexpr int runaway_ms = 60 * 60 * 1000;

void sleep_ms(int ms) {
    const bool was_running = state().slept_ms <= runaway_ms;
    state().slept_ms += ms;
    state().waits.push_back({"sleep " + std::to_string(ms), state().output.size()});
    if (was_running && state().slept_ms > runaway_ms) {
        ADD_FAILURE() << "the game ran for an hour of fake time; typing q";
        state().keys.push_back('q');
    }
}

void seed_random(std::uint32_t) {}

std::int32_t next_random() {
    ++state().drawn;
    if (state().random.empty()) {
        ADD_FAILURE() << "a random number was drawn with none queued";
        return 7;  // neither a bonus nor an enemy's action
    }
    const std::int32_t n = state().random.front();
    state().random.pop_front();
    return n;
}

void write_text(std::string_view bytes) {
    state().output += bytes;
}

void write_number(std::int32_t n) {
    state().output += std::to_string(n);
}

void write_error_line(std::string_view line) {
    state().errors += line;
    state().errors += '\n';
}
