// The level loader: the file name, the text reading rules, the line buffer
// with its short, long and missing lines, the start line and the progress
// figure.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "game/level.h"
#include "tests/game_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string full_row(board_width, '6');

// 16 rows of 32 characters, row y filled with the character 'A' + y, so that
// every row can be told apart.
std::string well_formed_rows(const std::string& line_end = "\n") {
    std::string text;
    for (int y = 0; y < board_height; ++y) {
        text += std::string(board_width, static_cast<char>('A' + y)) + line_end;
    }
    return text;
}

class level_test : public folder_test {
protected:
    // Loads level 1 from the given bytes.
    static void load(const std::string& bytes) {
        write_file("lvl1.txt", bytes);
        load_level("lvl", 1);
        ASSERT_FALSE(game.game_over);
    }

    // The board's kinds as the characters that made them.
    static std::string row(int y) { return kinds_of_row(y); }
};

TEST_F(level_test, well_formed_file_fills_every_cell_clears_fuses_and_sets_the_start) {
    game.redraw_pending = false;
    fuse_at(4, 4) = 9;
    load(well_formed_rows() + "53\n");
    for (int y = 0; y < board_height; ++y) {
        EXPECT_EQ(row(y), std::string(board_width, static_cast<char>('A' + y))) << "row " << y;
        for (int x = 0; x < board_width; ++x) {
            EXPECT_EQ(fuse_at(x, y), 0);
        }
    }
    EXPECT_EQ(game.player_x, 5);
    EXPECT_EQ(game.player_y, 3);
    EXPECT_TRUE(game.redraw_pending);
    EXPECT_EQ(script::slept_ms(), 250);
    EXPECT_EQ(kind_at(5, 3), static_cast<cell_kind>('D' - '0'));  // no marker written
}

TEST_F(level_test, cr_lf_line_ends_load_the_same_board) {
    load(well_formed_rows() + "53\n");
    const game_state with_lf = game;
    game = game_state{};
    load(well_formed_rows("\r\n") + "53\r\n");
    EXPECT_EQ(game.board.kinds, with_lf.board.kinds);
    EXPECT_EQ(game.player_x, 5);
    EXPECT_EQ(game.player_y, 3);
}

TEST_F(level_test, cell_characters_give_their_kinds) {
    // A lone CR is an ordinary character; bytes above 127 count as negative.
    load("0123456789:;f .\r\x80\xff" + std::string(13, '0') + "\n" + well_formed_rows());
    const cell_kind expected[] = {kind_empty,      kind_player, kind_enemy,       kind_flame,
                                  kind_pulse_bomb, kind_wall,   kind_crate,       kind_brush,
                                  kind_fence,      kind_exit,   kind_range_bonus, kind_heart_bonus,
                                  kind_pulse_rest};
    for (int x = 0; x < 13; ++x) {
        EXPECT_EQ(kind_at(x, 0), expected[x]) << "column " << x;
    }
    EXPECT_EQ(kind_at(13, 0), -16);
    EXPECT_EQ(kind_at(14, 0), -2);
    EXPECT_EQ(kind_at(15, 0), 13 - 48);
    EXPECT_EQ(kind_at(16, 0), -176);
    EXPECT_EQ(kind_at(17, 0), -49);
}

TEST_F(level_test, ctrl_z_ends_the_file) {
    std::string text = well_formed_rows();
    text.insert(9 * (board_width + 1) + 4, "\x1a");  // line 10, after four characters
    load(text + "53\n");
    EXPECT_EQ(row(9).substr(0, 4), "JJJJ");
    EXPECT_EQ(kind_at(4, 9), -48);
    EXPECT_EQ(row(9).substr(5), std::string(27, 'I'));  // the buffer still holds line 9
    for (int y = 10; y < board_height; ++y) {
        EXPECT_EQ(kind_at(0, y), -48) << "row " << y;
        EXPECT_EQ(row(y).substr(1, 3), "JJJ") << "row " << y;
    }
    EXPECT_EQ(game.player_x, 0);
    EXPECT_EQ(game.player_y, 0);
}

TEST_F(level_test, short_line_keeps_the_rest_of_the_buffer_from_the_line_before) {
    std::string text = well_formed_rows();
    text.replace(board_width + 1, board_width, std::string(20, 'z'));  // line 2 has 20
    load(text + "53\n");
    EXPECT_EQ(row(1).substr(0, 20), std::string(20, 'z'));
    EXPECT_EQ(kind_at(20, 1), -48);
    EXPECT_EQ(row(1).substr(21), std::string(11, 'A'));
    EXPECT_EQ(row(2), std::string(board_width, 'C'));
}

TEST_F(level_test, empty_line_takes_only_the_terminator) {
    std::string text = well_formed_rows();
    text.replace(board_width + 1, board_width, "");  // line 2 is empty
    load(text + "53\n");
    EXPECT_EQ(kind_at(0, 1), -48);
    EXPECT_EQ(row(1).substr(1), std::string(31, 'A'));
    EXPECT_EQ(row(2), std::string(board_width, 'C'));
    EXPECT_EQ(game.player_x, 5);
}

TEST_F(level_test, thirty_third_character_is_ignored) {
    std::string text = well_formed_rows();
    text.insert(board_width, "!");  // line 1 has 33 characters
    load(text + "53\n");
    EXPECT_EQ(row(0), std::string(board_width, 'A'));
    EXPECT_EQ(row(1), std::string(board_width, 'B'));
    EXPECT_EQ(game.player_x, 5);
    EXPECT_EQ(game.player_y, 3);
}

TEST_F(level_test, thirty_four_character_line_fails_the_reader) {
    std::string text = well_formed_rows();
    const std::size_t line3 = 2 * (board_width + 1);
    text.replace(line3, board_width, "0123456789:;<=>?@ABCDEFGHIJKLMNOPQ");  // 34 characters
    load(text + "53\n");
    EXPECT_EQ(row(1), std::string(board_width, 'B'));
    EXPECT_EQ(row(2), std::string("0123456789:;<=>?@ABCDEFGHIJKLMNO"));
    for (int y = 3; y < board_height; ++y) {
        EXPECT_EQ(kind_at(0, y), -48) << "row " << y;
        EXPECT_EQ(row(y).substr(1), "123456789:;<=>?@ABCDEFGHIJKLMNO") << "row " << y;
    }
    EXPECT_EQ(game.player_x, 0);
    EXPECT_EQ(game.player_y, 0);
}

TEST_F(level_test, missing_lines_repeat_the_last_line_behind_a_terminator) {
    struct missing_case {
        const char* name;
        std::string text;
    };
    const std::string three_rows =
        full_row + "\n" + full_row + "\n" + std::string(board_width, '7');
    const missing_case cases[] = {
        {"last line with a line end", three_rows + "\n"},
        {"last line without a line end", three_rows},
    };
    for (const missing_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        load(c.text);
        EXPECT_EQ(row(2), std::string(board_width, '7'));
        for (int y = 3; y < board_height; ++y) {
            EXPECT_EQ(kind_at(0, y), -48) << "row " << y;
            EXPECT_EQ(row(y).substr(1), std::string(31, '7')) << "row " << y;
        }
        EXPECT_EQ(game.player_x, 0);
        EXPECT_EQ(game.player_y, 0);
        EXPECT_TRUE(game.redraw_pending);
    }
}

TEST_F(level_test, empty_file_loads_a_full_board_at_the_top_left) {
    game.player_x = 7;
    load("");
    EXPECT_EQ(kind_at(0, 0), -48);
    EXPECT_EQ(kind_at(0, 15), -48);
    EXPECT_EQ(game.player_x, 0);
    EXPECT_EQ(game.player_y, 0);
    EXPECT_TRUE(game.redraw_pending);
    EXPECT_EQ(script::slept_ms(), 250);
}

TEST_F(level_test, start_line) {
    struct start_case {
        std::string line;
        int x, y;
    };
    const start_case cases[] = {
        {"53\n", 5, 3},
        {"O?\n", 31, 15},
        {"P0\n", 0, 0},     // column 32
        {"0@\n", 0, 0},     // row 16
        {"5\n", 0, 0},      // one character
        {"\n", 0, 0},       // empty
        {"", 0, 0},         // missing
        {"53xyz\n", 5, 3},  // too long: the reader fails, the two are kept
        {"534\n", 5, 3},    // a third character is ignored
        {"53", 5, 3},       // no line end at the end of the file
        {"/3\n", 0, 0},     // column -1
        {"\x80"
         "3\n",
         0, 0},
    };
    for (const start_case& c : cases) {
        SCOPED_TRACE("start line \"" + c.line + "\"");
        game.player_x = 9;
        game.player_y = 9;
        load(well_formed_rows() + c.line);
        EXPECT_EQ(game.player_x, c.x);
        EXPECT_EQ(game.player_y, c.y);
    }
}

TEST_F(level_test, file_name_takes_one_character_shifted_by_the_level_number) {
    struct name_case {
        int level;
        std::string name;
    };
    const name_case cases[] = {
        {1, "lvl1.txt"},      {9, "lvl9.txt"},   {10, "lvl:.txt"},
        {11, "lvl;.txt"},     {16, "lvl@.txt"},  {17, "lvlA.txt"},
        {42, "lvlZ.txt"},     {266, "lvl:.txt"}, {208, std::string("lvl\0.txt", 8)},
        {207, "lvl\xff.txt"},
    };
    for (const name_case& c : cases) {
        SCOPED_TRACE("level " + std::to_string(c.level));
        EXPECT_EQ(level_file_name("lvl", c.level), c.name);
    }
}

TEST_F(level_test, level_ten_opens_its_file_and_shows_its_name) {
    write_file("lvl:.txt", well_formed_rows() + "12\n");
    load_level("lvl", 266);
    EXPECT_FALSE(game.game_over);
    EXPECT_EQ(game.player_x, 1);
    EXPECT_EQ(script::output().substr(0, 29),
              std::string(script::clear_marker) + "\n\tWczytywanie: lvl:.txt\n");
}

TEST_F(level_test, name_character_zero_opens_the_file_cut_there) {
    write_file("lvl", well_formed_rows() + "12\n");
    load_level("lvl", 208);
    EXPECT_FALSE(game.game_over);
    EXPECT_EQ(game.player_y, 2);
    EXPECT_NE(script::output().find(std::string("Wczytywanie: lvl\0.txt\n", 22)),
              std::string::npos);
}

TEST_F(level_test, file_that_cannot_be_opened_ends_the_game_and_changes_nothing_else) {
    struct failure_case {
        const char* name;
        bool make_directory;
        int error;
    };
    const failure_case cases[] = {
        {"missing file", false, ENOENT},
        {"a directory", true, EISDIR},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        script::reset();
        if (c.make_directory) {
            fs::create_directory("lvl1.txt");
        }
        kind_at(3, 3) = kind_wall;
        fuse_at(3, 3) = 5;
        game.player_x = 7;
        game.redraw_pending = false;
        load_level("lvl", 1);
        EXPECT_TRUE(game.game_over);
        EXPECT_EQ(game.load_failure, c.error);
        EXPECT_EQ(kind_at(3, 3), kind_wall);
        EXPECT_EQ(fuse_at(3, 3), 5);
        EXPECT_EQ(game.player_x, 7);
        EXPECT_FALSE(game.redraw_pending);
        EXPECT_EQ(script::slept_ms(), 0);
        EXPECT_EQ(script::output(),
                  std::string(script::clear_marker) + "\n\tWczytywanie: lvl1.txt\n");
    }
}

TEST_F(level_test, progress_figure_climbs_from_zero_to_a_hundred) {
    load(well_formed_rows() + "53\n");
    const std::string header = std::string(script::clear_marker) + "\n\tWczytywanie: lvl1.txt\n";
    ASSERT_EQ(script::output().substr(0, header.size()), header);
    std::string expected;
    for (int k = 1; k <= board_width * board_height; ++k) {
        expected += "\t" + std::to_string(100 * k / 512) + "%\r";
    }
    EXPECT_EQ(script::output().substr(header.size()), expected);
    // Telling values, counted independently of the formula above: the
    // figure after cell k.
    struct figure_case {
        int cells;
        const char* figure;
    };
    const figure_case telling[] = {{1, "0"},    {5, "0"},    {6, "1"},    {10, "1"},   {11, "2"},
                                   {256, "50"}, {507, "99"}, {511, "99"}, {512, "100"}};
    std::vector<std::string> figures;
    const std::string shown = script::output().substr(header.size());
    for (std::size_t at = 0; at < shown.size();) {
        const std::size_t end = shown.find("%\r", at);
        figures.push_back(shown.substr(at + 1, end - at - 1));  // past the TAB
        at = end + 2;
    }
    ASSERT_EQ(figures.size(), 512u);
    for (const figure_case& c : telling) {
        EXPECT_EQ(figures[c.cells - 1], c.figure) << "after cell " << c.cells;
    }
}

}  // namespace
