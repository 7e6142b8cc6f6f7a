// What the rule tests share: a fresh game on the scripted console, and
// boards written in the level file's characters ("5" wall, "6" crate, ...).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "game/state.h"
#include "tests/script_ops.h"

// The character a level file uses for a kind ("0" empty, "5" wall, "f" the
// resting pulse bomb).
inline char kind_char(cell_kind kind) { return static_cast<char>(kind + '0'); }

// Writes rows of level characters onto the board with their top-left corner
// at (x0, y0); the rest of the board is left as it is.
inline void place_rows(std::int32_t x0, std::int32_t y0,
                       std::initializer_list<std::string_view> rows) {
    std::int32_t y = y0;
    for (const std::string_view row : rows) {
        std::int32_t x = x0;
        for (const char c : row) {
            kind_at(x++, y) = static_cast<cell_kind>(static_cast<signed char>(c) - '0');
        }
        ++y;
    }
}

// The kinds of part of a row, in level characters.
inline std::string kinds_of_row(std::int32_t y, std::int32_t x0 = 0,
                                std::int32_t width = board_width) {
    std::string row;
    for (std::int32_t x = x0; x < x0 + width; ++x) {
        row += kind_char(kind_at(x, y));
    }
    return row;
}

// A fresh game with an empty board and a fresh script.
class game_test : public ::testing::Test {
protected:
    void SetUp() override {
        game = game_state{};
        script::reset();
    }
};
