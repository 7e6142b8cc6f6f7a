// The player's controls: key decoding, steps into every kind of cell, the
// board's edges, bombs, the exit and q.
#include "console/controls.h"

#include <gtest/gtest.h>

#include <string>

#include "console/ops.h"
#include "tests/game_fixture.h"

namespace {

using controls_test = game_test;

TEST_F(controls_test, step_into_each_kind_of_cell) {
    struct step_case {
        const char* name;
        std::int32_t kind;
        fuse time_left;
        int hp;
        bool steps;
        int hp_after;
        int range_after;
    };
    const step_case cases[] = {
        {"empty", kind_empty, 0, 3, true, 3, 2},
        {"empty, negative fuse", kind_empty, -1, 3, true, 3, 2},
        {"a bomb", kind_empty, 1, 3, false, 3, 2},
        {"range bonus", kind_range_bonus, 0, 3, true, 3, 3},
        {"range bonus on a fuse", kind_range_bonus, 8, 3, true, 3, 3},
        {"heart bonus", kind_heart_bonus, 0, 3, true, 4, 2},
        {"heart bonus at 29", kind_heart_bonus, 0, 29, true, 30, 2},
        {"heart bonus at 30", kind_heart_bonus, 0, 30, true, 30, 2},
        {"heart bonus at 31", kind_heart_bonus, 0, 31, true, 31, 2},
        {"player marker", kind_player, 0, 3, false, 3, 2},
        {"enemy", kind_enemy, 0, 3, false, 3, 2},
        {"flame", kind_flame, 0, 3, false, 3, 2},
        {"pulse bomb", kind_pulse_bomb, 0, 3, false, 3, 2},
        {"resting pulse bomb", kind_pulse_rest, 0, 3, false, 3, 2},
        {"wall", kind_wall, 0, 3, false, 3, 2},
        {"crate", kind_crate, 0, 3, false, 3, 2},
        {"brush", kind_brush, 0, 3, false, 3, 2},
        {"fence", kind_fence, 0, 3, false, 3, 2},
        {"kind 12", 12, 0, 3, false, 3, 2},
        {"kind -16", -16, 0, 3, false, 3, 2},
    };
    for (const step_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        game.redraw_pending = false;
        game.player_x = 4;
        game.player_y = 4;
        game.hp = c.hp;
        kind_at(5, 4) = static_cast<cell_kind>(c.kind);
        fuse_at(5, 4) = c.time_left;
        try_step(direction::right);
        EXPECT_EQ(game.player_x, c.steps ? 5 : 4);
        EXPECT_EQ(game.player_y, 4);
        EXPECT_EQ(game.redraw_pending, c.steps);
        EXPECT_EQ(game.hp, c.hp_after);
        EXPECT_EQ(game.blast_range, c.range_after);
        EXPECT_EQ(kind_at(5, 4), c.kind);  // the marker erases a bonus, not the step
    }
}

TEST_F(controls_test, range_bonus_has_no_limit) {
    game.blast_range = 1000;
    kind_at(2, 1) = kind_range_bonus;
    try_step(direction::right);
    EXPECT_EQ(game.blast_range, 1001);
}

TEST_F(controls_test, keys_move_within_the_board) {
    struct move_case {
        const char* name;
        std::string keys;
        int x, y;
        int x_after, y_after;
    };
    const move_case cases[] = {
        {"up arrow", "\xE0H", 5, 5, 5, 4},
        {"down arrow", "\xE0P", 5, 5, 5, 6},
        {"left arrow", "\xE0K", 5, 5, 4, 5},
        {"right arrow", "\xE0M", 5, 5, 6, 5},
        {"typed H", "H", 5, 5, 5, 4},
        {"typed P", "P", 5, 5, 5, 6},
        {"typed K", "K", 5, 5, 4, 5},
        {"typed M", "M", 5, 5, 6, 5},
        {"typed h", "h", 5, 5, 5, 5},
        {"typed Q", "Q", 5, 5, 5, 5},
        {"up at the top", "\xE0H", 3, 0, 3, 0},
        {"down at the bottom", "\xE0P", 3, 15, 3, 15},
        {"left at the left edge", "\xE0K", 0, 3, 0, 3},
        {"right at the right edge", "\xE0M", 31, 3, 31, 3},
        {"up from row 1", "H", 3, 1, 3, 0},
        {"right to column 31", "M", 30, 3, 31, 3},
    };
    for (const move_case& c : cases) {
        SCOPED_TRACE(c.name);
        game = game_state{};
        script::reset();
        game.player_x = c.x;
        game.player_y = c.y;
        script::queue_keys(c.keys);
        handle_key();
        EXPECT_EQ(game.player_x, c.x_after);
        EXPECT_EQ(game.player_y, c.y_after);
        EXPECT_FALSE(key_waiting()) << "the whole key is read in one tick";
    }
}

TEST_F(controls_test, one_key_per_call_and_zero_is_no_prefix) {
    game.player_x = 5;
    game.player_y = 5;
    script::queue_keys(std::string("\0M", 2) + "MM");
    handle_key();  // the 0 is a key of its own, ignored
    EXPECT_EQ(game.last_key, 0);
    EXPECT_EQ(game.player_x, 5);
    handle_key();
    EXPECT_EQ(game.last_key, 'M');
    EXPECT_EQ(game.player_x, 6);
    handle_key();
    EXPECT_EQ(game.player_x, 7);
    handle_key();
    EXPECT_EQ(game.player_x, 8);
    handle_key();  // no key waiting: nothing happens
    EXPECT_EQ(game.player_x, 8);
    EXPECT_EQ(game.last_key, 'M');
}

TEST_F(controls_test, space_lays_one_bomb_under_the_player) {
    game.player_x = 2;
    game.player_y = 3;
    game.redraw_pending = false;
    script::queue_keys(" ");
    handle_key();
    EXPECT_EQ(fuse_at(2, 3), 15);
    EXPECT_EQ(kind_at(2, 3), kind_empty);
    EXPECT_TRUE(game.redraw_pending);

    fuse_at(2, 3) = 4;
    game.redraw_pending = false;
    place_bomb();
    EXPECT_EQ(fuse_at(2, 3), 4);
    EXPECT_FALSE(game.redraw_pending);
}

TEST_F(controls_test, quit_draws_the_player_and_ends_the_game) {
    game.player_x = 0;
    game.player_y = 0;
    game.redraw_pending = true;
    script::queue_keys("q");
    handle_key();
    EXPECT_TRUE(game.game_over);
    EXPECT_EQ(game.hp, 0);
    EXPECT_FALSE(game.redraw_pending);
    const std::string& out = script::output();
    ASSERT_EQ(out.substr(0, script::clear_marker.size()), script::clear_marker);
    EXPECT_EQ(out.size(), script::clear_marker.size() + 668);  // drawn with hp 3
    EXPECT_EQ(out[script::clear_marker.size() + 36 + 2], '\x01');
}

using exit_test = folder_test;

TEST_F(exit_test, exit_loads_the_next_level_with_at_least_three_hit_points) {
    struct exit_case {
        int hp, hp_after;
    };
    const exit_case cases[] = {{1, 3}, {3, 3}, {5, 5}};
    write_file("lvl2.txt", level_text({"555"}, "7:"));
    for (const exit_case& c : cases) {
        SCOPED_TRACE("hp " + std::to_string(c.hp));
        game = game_state{};
        script::reset();
        game.hp = c.hp;
        game.points = 12;
        game.blast_range = 4;
        game.player_x = 0;
        game.player_y = 0;
        kind_at(0, 1) = kind_exit;
        script::queue_keys("P");
        handle_key();
        EXPECT_FALSE(game.game_over);
        EXPECT_EQ(game.level_number, 2);
        EXPECT_EQ(game.hp, c.hp_after);
        EXPECT_EQ(game.points, 12);
        EXPECT_EQ(game.blast_range, 4);
        EXPECT_EQ(game.player_x, 7);
        EXPECT_EQ(game.player_y, 10);
        EXPECT_EQ(kind_at(0, 0), kind_wall);
        EXPECT_EQ(kind_at(0, 1), kind_empty);
        // The 500 ms come before the loading starts to write.
        ASSERT_EQ(script::waits().size(), 2u);
        EXPECT_EQ(script::waits()[0].what, "sleep 500");
        EXPECT_EQ(script::waits()[0].output_before, 0u);
        EXPECT_EQ(script::waits()[1].what, "sleep 250");
    }
}

TEST_F(exit_test, exit_without_a_next_level_ends_the_game_where_the_player_stands) {
    game.player_x = 6;
    game.player_y = 6;
    kind_at(6, 5) = kind_exit;
    script::queue_keys("H");
    handle_key();
    EXPECT_TRUE(game.game_over);
    EXPECT_EQ(game.level_number, 2);
    EXPECT_EQ(game.player_x, 6);
    EXPECT_EQ(game.player_y, 6);
    EXPECT_EQ(kind_at(6, 5), kind_exit);
}

}  // namespace
