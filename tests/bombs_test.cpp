// Rule tests for bombs: the fuses, the four arms of a blast, what fire does
// to each kind of cell, chains, pulse bombs and the bonus draw of a crate.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/draw.h"
#include "console/loop.h"
#include "game/bombs.h"
#include "game/state.h"
#include "tests/game_fixture.h"
#include "tests/script_ops.h"

namespace {

// Most blasts go off here, away from the edges of the board.
constexpr std::int32_t cx = 10;
constexpr std::int32_t cy = 5;

// The kinds of part of a column, in level characters.
std::string kinds_of_column(std::int32_t x, std::int32_t y0 = 0,
                            std::int32_t height = board_height) {
    std::string column;
    for (std::int32_t y = y0; y < y0 + height; ++y) {
        column += kind_char(kind_at(x, y));
    }
    return column;
}

std::string one(char kind) {
    return std::string(1, kind);
}

void place(std::int32_t x, std::int32_t y, char kind, fuse time_left = 0) {
    const std::string row = one(kind);
    place_rows(x, y, {row});
    fuse_at(x, y) = time_left;
}

int count_of(cell_kind kind) {
    int n = 0;
    for (std::int32_t y = 0; y < board_height; ++y) {
        for (std::int32_t x = 0; x < board_width; ++x) {
            n += kind_at(x, y) == kind ? 1 : 0;
        }
    }
    return n;
}

// The four arms of a blast, in the order they run, with the fuse a bomb in
// each gets: 1 before the centre in the pass, 2 after it.
struct arm {
    const char* name;
    std::int32_t dx, dy;
    fuse chained;
};
constexpr arm arms[] = {
    {"left", -1, 0, 1}, {"right", 1, 0, 2}, {"up", 0, -1, 1}, {"down", 0, 1, 2}};

class bombs_test : public game_test {
protected:
    void SetUp() override {
        game_test::SetUp();
        keep_player_away();
    }

    // A fresh game for the next case of a table.
    void start_over() {
        game = game_state{};
        script::reset();
        keep_player_away();
    }

    // The player stands where no test's blast reaches, unless a test moves
    // them.
    static void keep_player_away() {
        game.player_x = 25;
        game.player_y = 12;
        game.redraw_pending = false;
    }
};

TEST_F(bombs_test, fire_over_each_kind_of_cell) {
    struct fire_case {
        const char* name;
        char kind;
        fuse fuse_before;  // not above 0: no bomb
        char left;
        fuse fuse_after;
        std::int32_t points;
        blast_result result;  // anything but blast_continue ends the arm
    };
    const fire_case cases[] = {
        {"empty floor burns", '0', 0, '3', 0, 0, blast_continue},
        {"a spent fuse is no bomb", '0', -3, '3', -3, 0, blast_continue},
        {"a player's marker away from the player stays", '1', 0, '1', 0, 0, blast_continue},
        {"an enemy burns for 2 points", '2', 0, '3', 0, 2, blast_burnt_enemy},
        {"an old flame lets the fire through", '3', 0, '3', 0, 0, blast_continue},
        {"a flashing pulse bomb leaves a bomb for 3 points", '4', 0, '0', 20, 3, blast_pulse_flash},
        {"a flashing pulse bomb with a negative fuse", '4', -4, '0', 20, 3, blast_pulse_flash},
        {"a wall stops the fire", '5', 0, '5', 0, 0, blast_wall},
        {"a crate burns for 1 point", '6', 0, '3', 0, 1, blast_crate},
        {"brush burns and lets the fire through", '7', 0, '3', 0, 0, blast_continue},
        {"a fence lets the fire through", '8', 0, '8', 0, 0, blast_continue},
        {"the exit lets the fire through", '9', 0, '9', 0, 0, blast_continue},
        {"a range bonus burns", ':', 0, '3', 0, 0, blast_burnt},
        {"a heart bonus burns", ';', 0, '3', 0, 0, blast_burnt},
        {"kind 12 burns like a bonus", '<', 0, '3', 0, 0, blast_burnt},
        {"kind 53 burns like a bonus", 'e', 0, '3', 0, 0, blast_burnt},
        {"kind 55 burns like a bonus", 'g', 0, '3', 0, 0, blast_burnt},
        {"a resting pulse bomb leaves a bomb for 2 points", 'f', 0, '0', 20, 2, blast_pulse_rest},
        {"a resting pulse bomb with a negative fuse", 'f', -1, '0', 20, 2, blast_pulse_rest},
        {"kind -1 lets the fire through untouched", '/', 0, '/', 0, 0, blast_continue},
        {"kind -15 lets the fire through untouched", '!', 0, '!', 0, 0, blast_continue},
    };
    for (const fire_case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto set_up = [&] {
            start_over();
            game.hp = 6;  // burnt crates draw nothing here; their rule has its own test
            game.blast_range = 3;
            place(cx + 1, cy, c.kind, c.fuse_before);
        };
        set_up();
        EXPECT_EQ(blast_cell(cx + 1, cy, false), c.result);
        EXPECT_EQ(kinds_of_row(cy, cx + 1, 1), one(c.left));
        EXPECT_EQ(fuse_at(cx + 1, cy), c.fuse_after);
        EXPECT_EQ(game.points, c.points);
        EXPECT_EQ(game.hp, 6);

        // In a detonation the cell beyond burns only when the arm goes on.
        set_up();
        detonate(cx, cy);
        const char beyond = c.result == blast_continue ? '3' : '0';
        EXPECT_EQ(kinds_of_row(cy, cx, 3), "3" + one(c.left) + one(beyond));
        EXPECT_EQ(game.points, c.points);
    }
}

TEST_F(bombs_test, a_bomb_in_an_arm_goes_off_in_the_next_tick_whatever_its_kind) {
    struct carrier {
        const char* name;
        char kind;
    };
    const carrier carriers[] = {
        {"empty floor", '0'},
        {"an enemy, not burnt", '2'},
        {"an armed pulse bomb", '4'},
        {"a resting pulse bomb", 'f'},
        {"a wall", '5'},
        {"a crate, not burnt", '6'},
        {"the exit", '9'},
        {"a range bonus", ':'},
        {"kind -1", '/'},
    };
    for (const carrier& c : carriers) {
        SCOPED_TRACE(c.name);
        start_over();
        game.blast_range = 3;
        for (const arm& a : arms) {
            place(cx + a.dx, cy + a.dy, c.kind, 9);
            place(cx + 2 * a.dx, cy + 2 * a.dy, '6');  // a crate the arm must not reach
        }
        detonate(cx, cy);
        for (const arm& a : arms) {
            SCOPED_TRACE(a.name);
            EXPECT_EQ(kind_char(kind_at(cx + a.dx, cy + a.dy)), c.kind);
            EXPECT_EQ(fuse_at(cx + a.dx, cy + a.dy), a.chained);
            EXPECT_EQ(kind_at(cx + 2 * a.dx, cy + 2 * a.dy), kind_crate);
        }
        EXPECT_EQ(blast_cell(cx - 1, cy, true), blast_chained);
        EXPECT_EQ(game.points, 0);
        EXPECT_EQ(script::random_drawn(), 0);
    }
}

TEST_F(bombs_test, arms_reach_range_less_one_cells_and_end_at_the_edges) {
    struct reach_case {
        const char* name;
        std::int32_t range;
        char bomb;  // '0' a plain bomb, '4' a pulse bomb
        std::int32_t x, y;
        std::int32_t left, right, up, down;  // cells that burn on each side
    };
    const reach_case cases[] = {
        {"range 0: the centre alone", 0, '0', cx, cy, 0, 0, 0, 0},
        {"range -3: the centre alone", -3, '0', cx, cy, 0, 0, 0, 0},
        {"range 1: the centre alone", 1, '0', cx, cy, 0, 0, 0, 0},
        {"range 2: one cell each way", 2, '0', cx, cy, 1, 1, 1, 1},
        {"range 5: four cells each way", 5, '0', cx, cy, 4, 4, 4, 4},
        {"range 40: the whole row and column", 40, '0', cx, cy, 10, 21, 5, 10},
        {"range 3 in the top-left corner", 3, '0', 0, 0, 0, 2, 0, 2},
        {"range 3 in the bottom-right corner", 3, '0', 31, 15, 2, 0, 2, 0},
        {"range 4 next to the left and top edges", 4, '0', 1, 1, 1, 3, 1, 3},
        {"a pulse bomb reaches 3 cells with range 1", 1, '4', cx, cy, 3, 3, 3, 3},
        {"a pulse bomb reaches 3 cells with range 12", 12, '4', cx, cy, 3, 3, 3, 3},
        {"a pulse bomb in the bottom-right corner", 2, '4', 31, 15, 3, 0, 3, 0},
    };
    for (const reach_case& c : cases) {
        SCOPED_TRACE(c.name);
        start_over();
        game.blast_range = c.range;
        place(c.x, c.y, c.bomb, 1);
        detonate(c.x, c.y);

        const char centre = c.bomb == '4' ? '4' : '3';
        std::string row, column;
        for (std::int32_t x = 0; x < board_width; ++x) {
            const bool burns = x >= c.x - c.left && x <= c.x + c.right;
            row += x == c.x ? centre : burns ? '3' : '0';
        }
        for (std::int32_t y = 0; y < board_height; ++y) {
            const bool burns = y >= c.y - c.up && y <= c.y + c.down;
            column += y == c.y ? centre : burns ? '3' : '0';
        }
        EXPECT_EQ(kinds_of_row(c.y), row);
        EXPECT_EQ(kinds_of_column(c.x), column);
        EXPECT_EQ(count_of(kind_flame), (centre == '3' ? 1 : 0) + c.left + c.right + c.up + c.down);
        EXPECT_EQ(fuse_at(c.x, c.y), 0);
        EXPECT_EQ(game.blast_range, c.range);
        EXPECT_TRUE(game.redraw_pending);
    }

    start_over();
    struct cell {
        std::int32_t x, y;
    };
    for (const cell off : {cell{-1, 0}, cell{32, 0}, cell{0, -1}, cell{0, 16}, cell{-5, 20}}) {
        EXPECT_EQ(blast_cell(off.x, off.y, true), blast_off_board);
    }
    EXPECT_EQ(count_of(kind_empty), board_width * board_height);
}

TEST_F(bombs_test, a_bomb_under_the_player_hits_them_and_burns_their_cell) {
    game.player_x = cx;
    game.player_y = cy;
    place(cx, cy, '1', 1);
    tick_fuses();
    EXPECT_EQ(game.hp, 2);
    EXPECT_EQ(kinds_of_row(cy, cx - 2, 5), "03330");
    EXPECT_EQ(kinds_of_column(cx, cy - 2, 5), "03330");
    EXPECT_EQ(fuse_at(cx, cy), 0);
}

TEST_F(bombs_test, the_player_in_an_arm_ends_it_and_keeps_the_bomb_underfoot) {
    for (const arm& a : arms) {
        SCOPED_TRACE(a.name);
        start_over();
        game.blast_range = 5;
        const auto at = [&](std::int32_t l) -> cell_kind& {
            return kind_at(cx + l * a.dx, cy + l * a.dy);
        };
        game.player_x = cx + 2 * a.dx;
        game.player_y = cy + 2 * a.dy;
        place(game.player_x, game.player_y, '1', 7);
        place(cx + 3 * a.dx, cy + 3 * a.dy, '6');  // hp 2 would let it draw
        detonate(cx, cy);
        EXPECT_EQ(game.hp, 2);
        EXPECT_EQ(at(1), kind_flame);
        EXPECT_EQ(at(2), kind_player);
        EXPECT_EQ(fuse_at(game.player_x, game.player_y), 7);
        EXPECT_EQ(at(3), kind_crate);
        EXPECT_EQ(at(4), kind_empty);
        EXPECT_EQ(script::random_drawn(), 0);
    }
}

TEST_F(bombs_test, every_hit_of_a_tick_counts_and_hp_can_end_below_zero) {
    game.hp = 1;
    game.blast_range = 3;
    game.player_x = cx;
    game.player_y = cy;
    place(cx, cy, '1', 1);  // goes off under the player
    place(cx, cy - 2, '0', 1);
    place(cx - 2, cy, '0', 1);
    tick_fuses();
    EXPECT_EQ(game.hp, -2);
}

TEST_F(bombs_test, of_two_bombs_in_an_arm_the_far_one_waits_for_the_near_ones_blast) {
    for (const arm& a : arms) {
        SCOPED_TRACE(a.name);
        start_over();
        game.blast_range = 4;
        const auto fuse_of = [&](std::int32_t l) { return fuse_at(cx + l * a.dx, cy + l * a.dy); };
        const auto kind_of = [&](std::int32_t l) { return kind_at(cx + l * a.dx, cy + l * a.dy); };
        place(cx, cy, '0', 1);
        place(cx + a.dx, cy + a.dy, '0', 9);
        place(cx + 2 * a.dx, cy + 2 * a.dy, '0', 9);

        tick_fuses();
        EXPECT_EQ(fuse_of(1), 1);
        EXPECT_EQ(fuse_of(2), 8);
        EXPECT_EQ(kind_of(2), kind_empty);
        EXPECT_EQ(kind_of(3), kind_empty);

        tick_fuses();
        EXPECT_EQ(kind_of(1), kind_flame);
        EXPECT_EQ(fuse_of(1), 0);
        EXPECT_EQ(fuse_of(2), 1);
        EXPECT_EQ(kind_of(3), kind_empty);

        tick_fuses();
        EXPECT_EQ(fuse_of(2), 0);
        EXPECT_EQ(kind_of(3), kind_flame);
    }
}

TEST_F(bombs_test, a_line_of_bombs_goes_off_one_bomb_a_tick_outward_both_ways) {
    const arm& right = arms[1];
    const arm& down = arms[3];
    for (const arm& l : {right, down}) {  // along a row, along a column
        SCOPED_TRACE(l.name);
        start_over();
        for (std::int32_t i = -3; i <= 3; ++i) {
            place(cx + i * l.dx, cy + i * l.dy, '0', i == 0 ? 1 : 30);
        }
        std::vector<std::string> gone_off;
        for (int t = 0; t < 4; ++t) {
            std::vector<bool> armed;
            for (std::int32_t i = -3; i <= 3; ++i) {
                armed.push_back(fuse_at(cx + i * l.dx, cy + i * l.dy) > 0);
            }
            tick_fuses();
            std::string these;
            for (std::int32_t i = -3; i <= 3; ++i) {
                if (armed[i + 3] && fuse_at(cx + i * l.dx, cy + i * l.dy) == 0) {
                    these += (these.empty() ? "" : " ") + std::to_string(i);
                }
            }
            gone_off.push_back(these);
        }
        EXPECT_EQ(gone_off, (std::vector<std::string>{"0", "-1 1", "-2 2", "-3 3"}));
    }
}

TEST_F(bombs_test, of_two_bombs_due_together_the_later_one_in_reach_goes_a_tick_later) {
    const arm& right = arms[1];
    const arm& down = arms[3];
    for (const arm& l : {right, down}) {  // the later bomb to the right, below
        SCOPED_TRACE(l.name);
        start_over();
        place(cx, cy, '0', 1);
        place(cx + l.dx, cy + l.dy, '0', 1);
        tick_fuses();
        EXPECT_EQ(kind_at(cx, cy), kind_flame);
        EXPECT_EQ(kind_at(cx + l.dx, cy + l.dy), kind_empty);
        EXPECT_EQ(fuse_at(cx + l.dx, cy + l.dy), 1);
        tick_fuses();
        EXPECT_EQ(kind_at(cx + l.dx, cy + l.dy), kind_flame);
        EXPECT_EQ(fuse_at(cx + l.dx, cy + l.dy), 0);
    }
}

TEST_F(bombs_test, an_enemy_on_a_bomb_burns_without_points_when_that_bomb_goes_off) {
    game.blast_range = 3;
    place(cx, cy, '0', 1);
    place(cx + 1, cy, '2', 9);
    tick_fuses();
    EXPECT_EQ(kinds_of_row(cy, cx, 3), "320");
    EXPECT_EQ(fuse_at(cx + 1, cy), 1);
    tick_fuses();
    EXPECT_EQ(kinds_of_row(cy, cx, 4), "3333");
    EXPECT_EQ(game.points, 0);
}

TEST_F(bombs_test, a_pulse_bomb_flashes_rests_and_fires_every_26_ticks_with_arms_of_3) {
    game.blast_range = 9;
    game.redraw_pending = true;  // as after loading a level
    place(cx, cy, '4');          // a level places it flashing
    std::string bomb, arm_end, beyond;
    for (int t = 1; t <= 55; ++t) {
        script::clear_output();
        tick();
        bomb += drawn_glyph(cx, cy);
        arm_end += drawn_glyph(cx + 3, cy);
        beyond += drawn_glyph(cx + 4, cy);
    }
    const std::string quiet(23, '.');
    EXPECT_EQ(bomb, "# @" + quiet + "# @" + quiet + "# @");
    EXPECT_EQ(arm_end, "   " + quiet + "#  " + quiet + "#  ");
    EXPECT_EQ(beyond.find('#'), std::string::npos);
    EXPECT_EQ(game.blast_range, 9);
    EXPECT_EQ(script::random_drawn(), 0);
}

TEST_F(bombs_test, a_pulse_bomb_hit_while_flashing_or_resting_leaves_a_plain_bomb) {
    struct hit_case {
        const char* name;
        char kind;
        fuse fuse_before;
        std::int32_t dx;  // which arm reaches it
        std::int32_t points;
        int ticks_later;  // until the bomb it leaves goes off
    };
    const hit_case cases[] = {
        {"flashing, by a right arm", '4', 0, 1, 3, 19},
        {"flashing, by a left arm", '4', 0, -1, 3, 20},
        {"flashing with a negative fuse", '4', -2, 1, 3, 19},
        {"resting, by a right arm", 'f', 0, 1, 2, 19},
        {"resting, by a left arm", 'f', 0, -1, 2, 20},
    };
    for (const hit_case& c : cases) {
        SCOPED_TRACE(c.name);
        start_over();
        game.blast_range = 3;
        place(cx, cy, '0', 1);
        place(cx + c.dx, cy, c.kind, c.fuse_before);
        tick_fuses();
        EXPECT_EQ(game.points, c.points);
        EXPECT_EQ(kind_at(cx + c.dx, cy), kind_empty);
        EXPECT_EQ(kind_at(cx + 2 * c.dx, cy), kind_empty);  // the arm ended there

        game.blast_range = 4;  // the player picks up a range bonus meanwhile
        int ticks = 0;
        while (fuse_at(cx + c.dx, cy) > 0 && ticks < 30) {
            tick_fuses();
            ++ticks;
        }
        EXPECT_EQ(ticks, c.ticks_later);
        EXPECT_EQ(kind_at(cx + c.dx, cy), kind_flame);
        EXPECT_EQ(kind_at(cx + 4 * c.dx, cy), kind_flame);  // the range of the moment
        EXPECT_EQ(kind_at(cx + 5 * c.dx, cy), kind_empty);
        EXPECT_EQ(game.points, c.points);
    }
}

TEST_F(bombs_test, an_armed_pulse_bomb_is_chained_and_fires_with_range_4) {
    place(cx, cy, '0', 1);
    place(cx + 1, cy, '4', 15);
    tick_fuses();
    EXPECT_EQ(kind_at(cx + 1, cy), kind_pulse_bomb);
    EXPECT_EQ(fuse_at(cx + 1, cy), 1);
    EXPECT_EQ(game.points, 0);

    tick_fuses();
    EXPECT_EQ(kinds_of_row(cy, cx + 1, 5), "43330");
    EXPECT_EQ(fuse_at(cx + 1, cy), 0);
    EXPECT_EQ(game.blast_range, 2);
    EXPECT_EQ(game.points, 0);

    // Its cycle goes on: rest, then armed again.
    draw_board();
    EXPECT_EQ(kind_at(cx + 1, cy), kind_pulse_rest);
    draw_board();
    EXPECT_EQ(kind_at(cx + 1, cy), kind_pulse_bomb);
    EXPECT_EQ(fuse_at(cx + 1, cy), 25);
}

TEST_F(bombs_test, a_burnt_crate_draws_for_a_bonus_only_while_the_player_is_weak_and_short) {
    struct crate_case {
        const char* name;
        std::int32_t hp, range;
        // Seven cells each, centred on the bomb ('0' plain, '4' pulse); a '1'
        // is the player standing there.
        std::string_view row, column;
        std::vector<std::int32_t> draws;
        std::string_view row_after, column_after;
    };
    const crate_case cases[] = {
        {"draw 0 leaves a range bonus", 3, 2, "0000600", "0000000", {0}, "0033:00", "0033300"},
        {"draw 1 leaves a heart bonus", 3, 2, "0000600", "0000000", {1}, "0033;00", "0033300"},
        {"draw 2 leaves flame", 3, 2, "0000600", "0000000", {2}, "0033300", "0033300"},
        {"draw 24 leaves flame", 3, 2, "0000600", "0000000", {24}, "0033300", "0033300"},
        {"draw 25 counts as 0", 3, 2, "0000600", "0000000", {25}, "0033:00", "0033300"},
        {"draw 51 counts as 1", 3, 2, "0000600", "0000000", {51}, "0033;00", "0033300"},
        {"hp 5 draws", 5, 2, "0000600", "0000000", {1}, "0033;00", "0033300"},
        {"hp 6 draws nothing", 6, 2, "0000600", "0000000", {}, "0033300", "0033300"},
        {"range 8 draws", 3, 8, "0000600", "0000000", {0}, "3333:00", "3333333"},
        {"range 9 draws nothing", 3, 9, "0000600", "0000000", {}, "3333300", "3333333"},
        {"pulse bomb, player's range 12", 3, 12, "0004600", "0004000", {0}, "3334:00", "3334333"},
        {"a pulse bomb at hp 6: no draw", 6, 12, "0004600", "0004000", {}, "3334300", "3334333"},
        {"left, right draw first", 3, 2, "0060600", "0060600", {0, 1, 2, 2}, "00:3;00", "0033300"},
        {"up and down draw last", 3, 2, "0060600", "0060600", {2, 2, 0, 1}, "0033300", "00:3;00"},
        {"the crate behind is not reached", 3, 3, "0000660", "0000000", {2}, "0333360", "0333330"},
        {"an earlier hit counts", 6, 2, "0010600", "0000000", {1}, "0013;00", "0033300"},
        {"a later hit does not", 6, 2, "0060100", "0000000", {}, "0033100", "0033300"},
    };
    for (const crate_case& c : cases) {
        SCOPED_TRACE(c.name);
        start_over();
        game.hp = c.hp;
        game.blast_range = c.range;
        place_rows(cx - 3, cy, {std::string(c.row)});
        for (std::int32_t i = 0; i < 7; ++i) {
            place(cx, cy - 3 + i, c.column[i]);
            if (c.row[i] == '1') {
                game.player_x = cx - 3 + i;
                game.player_y = cy;
            }
        }
        script::queue_random(c.draws);
        detonate(cx, cy);
        EXPECT_EQ(kinds_of_row(cy, cx - 3, 7), c.row_after);
        EXPECT_EQ(kinds_of_column(cx, cy - 3, 7), c.column_after);
        EXPECT_EQ(script::random_drawn(), static_cast<int>(c.draws.size()));
        EXPECT_EQ(game.blast_range, c.range);
    }
}

TEST_F(bombs_test, a_bomb_laid_now_goes_off_in_the_14th_tick_after) {
    game.player_x = cx;
    game.player_y = cy;
    game.redraw_pending = true;
    script::queue_keys(" MM");  // lay the bomb, then walk two cells right
    std::string shown;
    for (int t = 1; t <= 16; ++t) {
        script::clear_output();
        tick();
        shown += drawn_glyph(cx, cy);
        if (t == 15) {
            EXPECT_EQ(drawn_glyph(cx - 1, cy), '#');
            EXPECT_EQ(drawn_glyph(cx + 1, cy), '#');
            EXPECT_EQ(drawn_glyph(cx + 2, cy), '\x01');
        }
    }
    EXPECT_EQ(shown, "\x01@@" + std::string(11, '.') + "# ");
    EXPECT_EQ(game.hp, 3);
}

}  // namespace
