// Rule tests for enemies: the draw, the contact explosion beside the
// player's marker, the random step and the order of the pass.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "console/loop.h"
#include "game/enemies.h"
#include "game/state.h"
#include "tests/game_fixture.h"
#include "tests/script_ops.h"

namespace {

using rows = std::vector<std::string>;

std::string row_of(const board& b, std::int32_t y) {
    std::string row;
    for (const cell_kind kind : b.kinds[y]) {
        row += kind_char(kind);
    }
    return row;
}

// Every cell of the board, both planes, against what a case expects.
void expect_board(const board& expected) {
    for (std::int32_t y = 0; y < board_height; ++y) {
        EXPECT_EQ(kinds_of_row(y), row_of(expected, y)) << "row " << y;
    }
    EXPECT_TRUE(game.board.fuses == expected.fuses) << "a fuse changed";
}

// One enemy pass over a few rows placed at (x0, y0). Every queued draw must
// be taken, and no more; nothing but the rows of `after` may change.
struct pass_case {
    const char* name;
    std::int32_t x0, y0;
    rows before;
    std::vector<std::int32_t> draws;
    rows after;
    std::int32_t hp_lost;
};

void expect_pass(const pass_case& c) {
    SCOPED_TRACE(c.name);
    game = game_state{};
    script::reset();
    game.redraw_pending = false;
    // Enemies find the player by the marker only; keep the position away
    // from every case's rows.
    game.player_x = 20;
    game.player_y = 12;
    place_rows(c.x0, c.y0, c.after);
    const board expected = game.board;
    game.board = board{};
    place_rows(c.x0, c.y0, c.before);
    const bool changes = game.board.kinds != expected.kinds;
    script::queue_random(c.draws);

    move_enemies();

    expect_board(expected);
    EXPECT_EQ(script::random_left(), 0u);
    EXPECT_EQ(game.hp, 3 - c.hp_lost);
    EXPECT_EQ(game.points, 0);
    EXPECT_EQ(game.redraw_pending, changes);
}

// A row of 32 cells, empty but for the given cells.
std::string full_row(std::initializer_list<std::pair<std::int32_t, char>> cells) {
    std::string row(board_width, '0');
    for (const auto& [x, kind] : cells) {
        row[x] = kind;
    }
    return row;
}

using enemies_test = game_test;

TEST_F(enemies_test, the_step_follows_the_second_draw_and_falls_back_to_down) {
    const pass_case cases[] = {
        {"d 0 steps down", 9, 4, {"000", "020", "000"}, {0, 0}, {"000", "000", "020"}, 0},
        {"d 1 steps left", 9, 4, {"000", "020", "000"}, {0, 1}, {"000", "200", "000"}, 0},
        {"d 2 steps right", 9, 4, {"000", "020", "000"}, {0, 2}, {"000", "002", "000"}, 0},
        {"d 3 steps up", 9, 4, {"000", "020", "000"}, {0, 3}, {"020", "000", "000"}, 0},
        {"draws 40 and 7: up", 9, 4, {"000", "020", "000"}, {40, 7}, {"020", "000", "000"}, 0},
        {"d 1, wall left: down", 9, 4, {"000", "520", "000"}, {0, 1}, {"000", "500", "020"}, 0},
        {"d 1 and down shut: stays", 9, 4, {"000", "520", "050"}, {0, 1}, {"000", "520", "050"}, 0},
        {"d 2, crate right: down", 9, 4, {"000", "026", "000"}, {0, 2}, {"000", "006", "020"}, 0},
        {"d 2 and down shut: stays", 9, 4, {"000", "026", "060"}, {0, 2}, {"000", "026", "060"}, 0},
        {"d 3, flame above: down", 9, 4, {"030", "020", "000"}, {0, 3}, {"030", "000", "020"}, 0},
        {"d 3 and down shut: stays", 9, 4, {"030", "020", "030"}, {0, 3}, {"030", "020", "030"}, 0},
        {"d 0, down shut: stays", 9, 4, {"000", "020", "070"}, {0, 0}, {"000", "020", "070"}, 0},
        {"column 0, d 1 steps down", 0, 4, {"00", "20", "00"}, {0, 1}, {"00", "00", "20"}, 0},
        {"column 31, d 2 steps down", 30, 4, {"00", "02", "00"}, {0, 2}, {"00", "00", "02"}, 0},
        {"row 0, d 3 steps down", 9, 0, {"020", "000"}, {0, 3}, {"000", "020"}, 0},
        {"row 15, d 0 stays", 9, 14, {"000", "020"}, {0, 0}, {"000", "020"}, 0},
        {"row 15 and column 0, d 1 stays", 0, 14, {"00", "20"}, {0, 1}, {"00", "20"}, 0},
    };
    for (const pass_case& c : cases) {
        expect_pass(c);
    }
}

TEST_F(enemies_test, an_enemy_steps_onto_empty_floor_only_bomb_or_not) {
    struct target_case {
        const char* name;
        char kind;
        fuse time_left;
        bool enters;
    };
    // A marker below would make the enemy explode instead; see the contact
    // tests.
    const target_case cases[] = {
        {"empty floor", '0', 0, true},
        {"a bomb on empty floor", '0', 6, true},
        {"empty floor with a spent fuse", '0', -2, true},
        {"another enemy", '2', 0, false},
        {"flame", '3', 0, false},
        {"an armed pulse bomb", '4', 9, false},
        {"a flashing pulse bomb", '4', 0, false},
        {"a resting pulse bomb", 'f', 0, false},
        {"a wall", '5', 0, false},
        {"a crate", '6', 0, false},
        {"brush", '7', 0, false},
        {"a fence", '8', 0, false},
        {"the exit", '9', 0, false},
        {"a range bonus", ':', 0, false},
        {"a heart bonus", ';', 0, false},
        {"kind 12", '<', 0, false},
        {"kind -1", '/', 0, false},
    };
    for (const target_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        script::reset();
        place_rows(9, 4, {"050", "525", "0" + std::string(1, c.kind) + "0"});
        fuse_at(10, 6) = c.time_left;
        script::queue_random({0, 0});  // act, and step down
        move_enemies();
        EXPECT_EQ(kinds_of_row(5, 10, 1), c.enters ? "0" : "2");
        EXPECT_EQ(kinds_of_row(6, 10, 1), c.enters ? "2" : std::string(1, c.kind));
        EXPECT_EQ(fuse_at(10, 6), c.time_left);
        EXPECT_EQ(script::random_left(), 0u);
    }
}

TEST_F(enemies_test, an_enemy_beside_the_marker_explodes_on_a_multiple_of_20) {
    const rows burnt = {"030", "333", "030"};
    const pass_case cases[] = {
        {"the player to the left", 9, 4, {"000", "120", "000"}, {0}, burnt, 1},
        {"the player to the right", 9, 4, {"000", "021", "000"}, {0}, burnt, 1},
        {"the player above, draw 20", 9, 4, {"010", "020", "000"}, {20}, burnt, 1},
        {"the player below, draw 60", 9, 4, {"000", "020", "010"}, {60}, burnt, 1},
        {"markers on two sides cost one hit point", 9, 4, {"010", "121", "000"}, {0}, burnt, 1},
        {"draw 7 beside the player", 9, 4, {"000", "120", "000"}, {7}, {"000", "120", "000"}, 0},
        {"draw 30 beside the player", 9, 4, {"000", "020", "010"}, {30}, {"000", "020", "010"}, 0},
        {"the player diagonal", 9, 4, {"100", "020", "000"}, {0, 0}, {"100", "000", "020"}, 0},
        {"a second enemy beside the player finds only flame and steps",
         9,
         3,
         {"000", "020", "010", "020", "000"},
         {0, 0, 3},
         {"030", "333", "030", "000", "020"},
         1},
    };
    for (const pass_case& c : cases) {
        expect_pass(c);
    }
}

TEST_F(enemies_test, the_player_is_found_by_the_marker_not_the_position) {
    game.player_x = 11;
    game.player_y = 5;
    place_rows(10, 5, {"20"});
    script::queue_random({0, 2});  // act, and step right
    move_enemies();
    EXPECT_EQ(kinds_of_row(5, 10, 2), "02");
    EXPECT_EQ(game.hp, 3);
}

TEST_F(enemies_test, a_contact_explosion_burns_whatever_is_beside_and_leaves_fuses_alone) {
    struct burn_case {
        const char* name;
        std::array<char, 4> around;  // left, right, up, down
        std::array<fuse, 5> fuses;   // the enemy's own cell first, then as above
    };
    const burn_case cases[] = {
        {"a crate without bonus or points, brush, the exit", {'1', '6', '7', '9'}, {0, 0, 0, 0, 0}},
        {"a wall and both bonuses", {':', '1', '5', ';'}, {0, 0, 0, 0, 0}},
        {"pulse bombs and bombs", {'4', 'f', '1', '0'}, {5, 7, 0, 0, 4}},
        {"enemies later in the pass, a flashing pulse bomb",
         {'1', '2', '4', '2'},
         {0, 0, 0, -1, 3}},
    };
    constexpr std::int32_t x = 10, y = 5;
    struct offset {
        std::int32_t dx, dy;
    };
    constexpr offset cells[] = {{0, 0}, {-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const burn_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        script::reset();
        kind_at(x, y) = kind_enemy;
        for (int i = 0; i < 4; ++i) {
            place_rows(x + cells[i + 1].dx, y + cells[i + 1].dy, {std::string(1, c.around[i])});
        }
        for (int i = 0; i < 5; ++i) {
            fuse_at(x + cells[i].dx, y + cells[i].dy) = c.fuses[i];
        }
        board expected = game.board;
        for (const offset& o : cells) {
            expected.kinds[y + o.dy][x + o.dx] = kind_flame;
        }
        script::queue_random({0});  // one draw: the burnt enemies get none
        move_enemies();
        expect_board(expected);
        EXPECT_EQ(game.hp, 2);
        EXPECT_EQ(game.points, 0);
        EXPECT_EQ(script::random_left(), 0u);
    }
}

TEST_F(enemies_test, one_enemy_steps_a_pass_and_an_explosion_lets_the_pass_go_on) {
    const pass_case cases[] = {
        {"a step ends the pass", 9, 4, {"020", "000", "002"}, {0, 0}, {"000", "020", "002"}, 0},
        {"a stay ends the pass", 9, 4, {"555", "525", "5552"}, {0, 1}, {"555", "525", "5552"}, 0},
        {"a step right gets no second turn", 9, 4, {"0200"}, {0, 2}, {"0020"}, 0},
        {"a lost draw lets the next one try", 9, 4, {"020", "0020"}, {7, 0, 2}, {"020", "0002"}, 0},
        {"x + 2 still draws", 9, 4, {"0000", "0202", "0100"}, {0, 7}, {"0300", "3332", "0300"}, 1},
        {"an explosion in column 30 goes on at the start of the next row",
         0,
         4,
         {full_row({{30, '1'}}), full_row({{30, '2'}}), full_row({{0, '2'}})},
         {0, 7},
         {full_row({{30, '3'}}), full_row({{29, '3'}, {30, '3'}, {31, '3'}}),
          full_row({{0, '2'}, {30, '3'}})},
         1},
        {"an explosion in column 31 goes on at the start of the next row",
         0,
         4,
         {full_row({{31, '1'}}), full_row({{31, '2'}}), full_row({{0, '2'}})},
         {0, 7},
         {full_row({{31, '3'}}), full_row({{30, '3'}, {31, '3'}}), full_row({{0, '2'}, {31, '3'}})},
         1},
    };
    for (const pass_case& c : cases) {
        expect_pass(c);
    }
}

TEST_F(enemies_test, enemies_on_the_edges_see_and_burn_only_cells_on_the_board) {
    const pass_case cases[] = {
        {"column 0 sees nothing past the left edge",
         0,
         4,
         {full_row({{31, '1'}}), full_row({{0, '2'}, {31, '1'}}), full_row({})},
         {0, 0},
         {full_row({{31, '1'}}), full_row({{31, '1'}}), full_row({{0, '2'}})},
         0},
        {"column 31 sees nothing past the right edge",
         0,
         5,
         {full_row({{0, '1'}, {31, '2'}}), full_row({{0, '1'}})},
         {0, 0},
         {full_row({{0, '1'}}), full_row({{0, '1'}, {31, '2'}})},
         0},
        {"an explosion in column 0",
         0,
         4,
         {full_row({{31, '5'}}), full_row({{0, '2'}, {1, '1'}}), full_row({})},
         {0},
         {full_row({{0, '3'}, {31, '5'}}), full_row({{0, '3'}, {1, '3'}}), full_row({{0, '3'}})},
         1},
        {"an explosion in column 31",
         0,
         4,
         {full_row({}), full_row({{30, '1'}, {31, '2'}}), full_row({{0, '5'}})},
         {0},
         {full_row({{31, '3'}}), full_row({{30, '3'}, {31, '3'}}), full_row({{0, '5'}, {31, '3'}})},
         1},
        {"an explosion in the top-left corner", 0, 0, {"120", "000"}, {0}, {"333", "030"}, 1},
        {"an explosion in row 15", 9, 13, {"000", "010", "020"}, {0}, {"000", "030", "333"}, 1},
        {"an explosion in the bottom-right corner", 30, 14, {"01", "12"}, {0}, {"03", "33"}, 1},
    };
    for (const pass_case& c : cases) {
        expect_pass(c);
    }
}

TEST_F(enemies_test, enemies_act_in_every_third_tick) {
    place_rows(10, 5, {"2"});
    script::queue_random({1, 1, 1});  // never a multiple of 20
    std::vector<int> drawn;
    for (int t = 1; t <= 9; ++t) {
        tick();
        drawn.push_back(script::random_drawn());
    }
    EXPECT_EQ(drawn, (std::vector<int>{0, 0, 1, 1, 1, 2, 2, 2, 3}));
}

TEST_F(enemies_test, in_a_tick_the_crates_draw_before_the_enemies_and_fresh_flame_blocks) {
    game.enemy_clock = 2;  // the enemies' turn
    game.player_x = 25;
    game.player_y = 12;
    place_rows(10, 5, {"06"});
    fuse_at(10, 5) = 1;
    place_rows(10, 7, {"2"});
    // The crate leaves a heart; the enemy acts, chooses up into the fresh
    // flame and falls back to down.
    script::queue_random({1, 40, 3});
    tick();
    EXPECT_EQ(kinds_of_row(5, 10, 2), "0;");
    EXPECT_EQ(kinds_of_row(7, 10, 1), "0");
    EXPECT_EQ(kinds_of_row(8, 10, 1), "2");
    EXPECT_EQ(script::random_left(), 0u);
}

TEST_F(enemies_test, no_enemy_explodes_in_a_tick_in_which_a_bomb_went_off_under_the_player) {
    game.enemy_clock = 2;
    game.blast_range = 1;  // the bomb burns its own cell alone
    game.player_x = 10;
    game.player_y = 5;
    fuse_at(10, 5) = 1;
    place_rows(11, 5, {"2"});
    script::queue_random({0, 1});  // acts; left is flame, so down
    tick();
    EXPECT_EQ(game.hp, 2);
    EXPECT_EQ(kinds_of_row(5, 10, 2), "00");
    EXPECT_EQ(kinds_of_row(6, 11, 1), "2");
}

}  // namespace
