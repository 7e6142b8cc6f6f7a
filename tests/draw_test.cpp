// The screen: the byte-exact frame, the glyph of every kind and the states
// that last one frame.
#include "console/draw.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/game_fixture.h"

namespace {

class draw_test : public game_test {
protected:
    void SetUp() override {
        game_test::SetUp();
        game.redraw_pending = false;
    }
};

TEST_F(draw_test, frame_is_byte_exact) {
    game.hp = 2;
    game.points = 17;
    kind_at(0, 0) = kind_player;
    kind_at(31, 15) = kind_wall;
    draw_board();

    const std::string top = "\t\xC9" + std::string(32, '\xCD') + "\xBB\n";
    const std::string blank_line = "\t\xBA" + std::string(32, ' ') + "\xBA\n";
    std::string expected = top + "\t\xBA\x01" + std::string(31, ' ') + "\xBA\n";
    for (int y = 1; y < 15; ++y) {
        expected += blank_line;
    }
    expected += "\t\xBA" + std::string(31, ' ') + "\xDB\xBA\n";
    expected += "\t\xC8" + std::string(32, '\xCD') + "\xBC";
    expected += "\n\tHp: \x03\x03; Punkty: 17\n";
    EXPECT_EQ(script::output(), expected);
    EXPECT_FALSE(game.redraw_pending);
}

TEST_F(draw_test, frame_length_follows_hit_points_and_score) {
    struct length_case {
        int hp, points;
        std::size_t bytes;
        std::string status;
    };
    const length_case cases[] = {
        {3, 0, 668, "\n\tHp: \x03\x03\x03; Punkty: 0\n"},
        {0, 0, 665, "\n\tHp: ; Punkty: 0\n"},
        {-4, 0, 665, "\n\tHp: ; Punkty: 0\n"},
        {30, 250, 697, "\n\tHp: " + std::string(30, '\x03') + "; Punkty: 250\n"},
    };
    for (const length_case& c : cases) {
        SCOPED_TRACE("hp " + std::to_string(c.hp) + ", points " + std::to_string(c.points));
        script::clear_output();
        game.hp = c.hp;
        game.points = c.points;
        draw_board();
        EXPECT_EQ(script::output().size(), c.bytes);
        EXPECT_EQ(script::output().substr(script::output().size() - c.status.size()), c.status);
    }
}

TEST_F(draw_test, every_kind_has_its_glyph_and_one_frame_states_move_on) {
    struct glyph_case {
        const char* name;
        std::int32_t kind;
        fuse time_left;
        char glyph;
        std::int32_t kind_after;
        fuse fuse_after;
        bool redraw;
    };
    const glyph_case cases[] = {
        {"empty", kind_empty, 0, ' ', kind_empty, 0, false},
        {"bomb", kind_empty, 3, '@', kind_empty, 3, false},
        {"player on a bomb", kind_player, 15, '\x01', kind_player, 15, false},
        {"enemy on a bomb", kind_enemy, 4, '\x02', kind_enemy, 4, false},
        {"flame", kind_flame, 0, '#', kind_empty, 0, true},
        {"flame over a bomb", kind_flame, 6, '#', kind_empty, 6, true},
        {"armed pulse bomb", kind_pulse_bomb, 24, '@', kind_pulse_bomb, 24, false},
        {"flashing pulse bomb", kind_pulse_bomb, 0, '#', kind_pulse_rest, 0, true},
        {"pulse bomb, negative fuse", kind_pulse_bomb, -3, '#', kind_pulse_rest, -3, true},
        {"resting pulse bomb", kind_pulse_rest, 0, ' ', kind_pulse_bomb, 25, true},
        {"resting pulse bomb with a fuse", kind_pulse_rest, 7, ' ', kind_pulse_bomb, 25, true},
        {"wall", kind_wall, 2, '\xDB', kind_wall, 2, false},
        {"crate", kind_crate, 0, '\xB1', kind_crate, 0, false},
        {"brush", kind_brush, 0, '\xB0', kind_brush, 0, false},
        {"fence", kind_fence, 0, '\x13', kind_fence, 0, false},
        {"exit", kind_exit, 0, '\x7F', kind_exit, 0, false},
        {"range bonus", kind_range_bonus, 0, '\xA2', kind_range_bonus, 0, false},
        {"heart bonus", kind_heart_bonus, 0, '\xC5', kind_heart_bonus, 0, false},
        {"kind 12", 12, 0, 'x', 12, 0, false},
        {"kind 53", 53, 0, 'x', 53, 0, false},
        {"kind 55", 55, 0, 'x', 55, 0, false},
        {"kind -1", -1, 0, 'x', -1, 0, false},
        {"kind -48", -48, 0, 'x', -48, 0, false},
    };
    for (const glyph_case& c : cases) {
        SCOPED_TRACE(c.name);
        script::clear_output();
        game.redraw_pending = false;
        kind_at(9, 4) = static_cast<cell_kind>(c.kind);
        fuse_at(9, 4) = c.time_left;
        draw_board();
        EXPECT_EQ(drawn_glyph(9, 4), c.glyph);
        EXPECT_EQ(kind_at(9, 4), c.kind_after);
        EXPECT_EQ(fuse_at(9, 4), c.fuse_after);
        EXPECT_EQ(game.redraw_pending, c.redraw);
    }
}

TEST_F(draw_test, flame_shows_in_one_frame_only) {
    kind_at(3, 2) = kind_flame;
    draw_board();
    EXPECT_EQ(drawn_glyph(3, 2), '#');
    script::clear_output();
    draw_board();
    EXPECT_EQ(drawn_glyph(3, 2), ' ');
}

TEST_F(draw_test, pulse_bomb_runs_flash_rest_armed_over_three_frames) {
    kind_at(0, 15) = kind_pulse_bomb;
    std::string shown;
    for (int frame = 0; frame < 3; ++frame) {
        script::clear_output();
        draw_board();
        shown += drawn_glyph(0, 15);
    }
    EXPECT_EQ(shown, "# @");
    EXPECT_EQ(fuse_at(0, 15), 25);
}

}  // namespace
