// What the rule tests share: a fresh game on the scripted console, and
// boards written in the level file's characters ("5" wall, "6" crate, ...).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "game/state.h"
#include "tests/script_ops.h"

// The character a level file uses for a kind ("0" empty, "5" wall, "f" the
// resting pulse bomb).
inline char kind_char(cell_kind kind) {
    return static_cast<char>(kind + '0');
}

// Writes rows of level characters onto the board with their top-left corner
// at (x0, y0); the rest of the board is left as it is.
inline void place_rows(std::int32_t x0, std::int32_t y0, const std::vector<std::string>& rows) {
    std::int32_t y = y0;
    for (const std::string& row : rows) {
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

// The glyph that the last frame drawn shows for a cell, or '.' when nothing
// has been drawn since the output was cleared.
inline char drawn_glyph(std::int32_t x, std::int32_t y) {
    const std::string& out = script::output();
    const std::size_t clear = out.rfind(script::clear_marker);
    const std::size_t start = clear == std::string::npos ? 0 : clear + script::clear_marker.size();
    if (out.find('\t', start) == std::string::npos) {
        return '.';
    }
    std::size_t line = start;
    for (std::int32_t i = 0; i <= y; ++i) {  // past the top edge and the rows above
        line = out.find('\n', line) + 1;
    }
    return out.at(line + 2 + x);  // after the TAB and the left edge
}

// The text of a level file: the given rows padded with "0" to 32 cells, empty
// rows below them, and the start line.
inline std::string level_text(std::initializer_list<std::string_view> rows,
                              std::string_view start) {
    std::string text;
    auto row = rows.begin();
    for (int y = 0; y < board_height; ++y) {
        std::string line(board_width, '0');
        if (row != rows.end()) {
            line.replace(0, row->size(), *row);
            ++row;
        }
        text += line + "\n";
    }
    return text + std::string(start) + "\n";
}

// A fresh game with an empty board and a fresh script.
class game_test : public ::testing::Test {
protected:
    void SetUp() override {
        game = game_state{};
        script::reset();
    }
};

// A fresh game that runs in a folder of its own, where the test writes its
// level files.
class folder_test : public game_test {
protected:
    void SetUp() override {
        game_test::SetUp();
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        // A name of this run's own, so that two runs at once keep apart.
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("blastovia-") + test->test_suite_name() + "-" + test->name() + "-" +
                   std::to_string(std::random_device{}()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(folder_);
    }

    static void write_file(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary) << bytes;
    }

private:
    std::filesystem::path folder_;
    std::filesystem::path previous_;
};
