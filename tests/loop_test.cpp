// The game loop: start-up, the order of a tick's steps, deaths, the ending
// and the exit status.
#include "console/loop.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/game_fixture.h"

namespace {

using tick_test = game_test;

std::string frame_marker() {
    return std::string(script::clear_marker) + "\t\xC9";
}

std::size_t count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST_F(tick_test, bomb_laid_in_a_tick_is_counted_down_in_the_same_tick) {
    game.player_x = 3;
    game.player_y = 3;
    script::queue_keys(" ");
    tick();
    EXPECT_EQ(fuse_at(3, 3), 14);
    EXPECT_EQ(script::slept_ms(), 40);
}

TEST_F(tick_test, marker_is_drawn_and_erased_with_what_the_cell_held) {
    game.player_x = 3;
    game.player_y = 3;
    kind_at(4, 3) = kind_heart_bonus;
    script::queue_keys("M");
    tick();
    EXPECT_EQ(game.hp, 4);
    EXPECT_NE(script::output().find("\xBA    \x01"), std::string::npos);
    EXPECT_EQ(kind_at(4, 3), kind_empty);
    EXPECT_EQ(kind_at(3, 3), kind_empty);
}

TEST_F(tick_test, enemies_see_the_marker_at_the_new_position_in_the_same_tick) {
    game.player_x = 3;
    game.player_y = 3;
    game.enemy_clock = 2;
    kind_at(5, 3) = kind_enemy;
    script::queue_keys("M");
    script::queue_random({40});
    tick();
    EXPECT_EQ(game.hp, 2);
    EXPECT_EQ(game.enemy_clock, 0);
}

TEST_F(tick_test, nothing_is_written_without_a_redraw) {
    game.redraw_pending = false;
    game.player_x = 3;
    script::queue_keys("Q");
    tick();
    EXPECT_EQ(script::output(), "");
}

TEST_F(tick_test, redraw_that_the_drawing_asks_for_waits_for_the_next_tick) {
    game.redraw_pending = true;
    kind_at(8, 8) = kind_flame;
    tick();
    EXPECT_TRUE(game.redraw_pending);
    EXPECT_EQ(count(script::output(), frame_marker()), 1u);
    tick();
    EXPECT_FALSE(game.redraw_pending);
    EXPECT_EQ(count(script::output(), frame_marker()), 2u);
    tick();
    EXPECT_EQ(count(script::output(), frame_marker()), 2u);
}

TEST_F(tick_test, player_off_the_board_is_put_on_the_top_left_before_the_key) {
    game.player_x = 32;
    game.player_y = 5;
    script::queue_keys("M");
    tick();
    EXPECT_EQ(game.player_x, 1);
    EXPECT_EQ(game.player_y, 0);
}

class game_loop_test : public folder_test {
protected:
    static const std::string& out() { return script::output(); }

    // The sleeps and pauses in order, each with the last ten bytes written
    // before it.
    static std::string waits_after_text() {
        constexpr std::size_t context = 10;
        std::string listed;
        for (const script::wait_event& wait : script::waits()) {
            const std::size_t from =
                wait.output_before < context ? 0 : wait.output_before - context;
            listed +=
                wait.what + " after \"" + out().substr(from, wait.output_before - from) + "\"\n";
        }
        return listed;
    }
};

TEST_F(game_loop_test, quit_plays_to_the_end_of_the_tick_and_closes) {
    write_file("lvl1.txt", level_text({"00"}, "00"));
    script::queue_keys("Mq");
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(script::title(), "Blastovia");
    EXPECT_EQ(out().substr(0, 11), "\tLoading...");
    EXPECT_EQ(out().find("\n\tWczytywanie: lvl1.txt\n"), 11 + script::clear_marker.size());
    EXPECT_EQ(out().find("Zginales"), std::string::npos);
    const std::string ending = "\n\tGame Over ;o\n\n\t";
    EXPECT_EQ(out().substr(out().size() - ending.size()), ending);
    EXPECT_EQ(count(out(), ending), 1u);
    EXPECT_EQ(script::pauses(), 1);
    EXPECT_EQ(game.player_x, 1);
    // loading, two ticks, the closing sleep and the pause after the message
    const std::string waits = waits_after_text();
    EXPECT_EQ(waits.substr(waits.find("sleep 500")),
              "sleep 500 after \"Over ;o\n\n\t\"\npause after \"Over ;o\n\n\t\"\n");
    EXPECT_EQ(script::slept_ms(), 250 + 2 * 40 + 500);
    EXPECT_TRUE(script::errors().empty());
}

TEST_F(game_loop_test, bomb_going_off_after_quit_redraws_with_no_hit_points) {
    write_file("lvl1.txt", level_text({}, "55"));
    // A bomb, two steps away from it, eleven ticks of waiting: q comes in the
    // tick in which the bomb goes off.
    script::queue_keys(" MM" + std::string(11, 'x') + "q");
    EXPECT_EQ(run_game(), 0);
    const std::size_t quit_frame = out().rfind(frame_marker(), out().rfind(frame_marker()) - 1);
    const std::string last_two = out().substr(quit_frame);
    EXPECT_EQ(count(last_two, "Hp: \x03\x03\x03; Punkty: 0\n"), 1u);
    EXPECT_EQ(count(last_two, "Hp: ; Punkty: 0\n"), 1u);
    EXPECT_EQ(count(last_two, "#"), 5u);  // the bomb's cell and its four arms
    EXPECT_EQ(out().find("Zginales"), std::string::npos);
    EXPECT_EQ(game.hp, 0);
}

TEST_F(game_loop_test, missing_first_level_reports_the_error_and_fails) {
    EXPECT_EQ(run_game(), 1);
    EXPECT_EQ(out(), "\tLoading..." + std::string(script::clear_marker) +
                         "\n\tWczytywanie: lvl1.txt\n\n\tGame Over ;o\n\n\t");
    EXPECT_EQ(script::errors(), "blastovia: cannot open lvl1.txt: No such file or directory\n");
    EXPECT_EQ(script::slept_ms(), 500);
    EXPECT_EQ(script::pauses(), 1);
}

TEST_F(game_loop_test, death_starts_again_from_level_one_with_fresh_counters) {
    write_file("lvl1.txt", level_text({"555"}, "41"));
    game.hp = -2;
    game.points = 9;
    game.blast_range = 5;
    game.enemy_clock = 1;
    script::queue_keys("xq");  // x answers the pause after the death message
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(count(out(), "\n\tZginales ;o"), 1u);
    EXPECT_EQ(count(out(), "Wczytywanie: lvl1.txt"), 2u);
    EXPECT_EQ(out().find("\n\tZginales ;o"), out().find("\t100%\r") + 6)
        << "no frame, no tick before it";
    EXPECT_EQ(script::pauses(), 2);
    // The pause comes right after the death message, before the reload.
    const std::string first_waits =
        "sleep 250 after \"99%\r\t100%\r\"\n"
        "pause after \"ginales ;o\"\n"
        "sleep 250 after \"99%\r\t100%\r\"\n"
        "sleep 40 after \"99%\r\t100%\r\"\n";
    EXPECT_EQ(waits_after_text().substr(0, first_waits.size()), first_waits);
    EXPECT_EQ(script::slept_ms(), 250 + 250 + 40 + 500);
    EXPECT_EQ(game.points, 0);
    EXPECT_EQ(game.blast_range, 2);
    EXPECT_EQ(game.level_number, 1);
    EXPECT_EQ(game.enemy_clock, 2) << "the enemies' clock runs on";
    EXPECT_EQ(game.player_x, 4);
    EXPECT_EQ(game.player_y, 1);
}

TEST_F(game_loop_test, death_without_a_level_one_ends_the_game_and_fails) {
    write_file("lvl2.txt", level_text({}, "00"));
    game.level_number = 2;
    game.hp = 0;
    EXPECT_EQ(run_game(), 1);
    EXPECT_EQ(script::errors(), "blastovia: cannot open lvl1.txt: No such file or directory\n");
    const std::string tail = "\n\tZginales ;o" + std::string(script::clear_marker) +
                             "\n\tWczytywanie: lvl1.txt\n\n\tGame Over ;o\n\n\t";
    EXPECT_EQ(out().substr(out().size() - tail.size()), tail);
}

TEST_F(game_loop_test, exit_of_the_last_level_ends_the_game_without_an_error) {
    write_file("lvl1.txt", level_text({"09"}, "00"));
    write_file("lvl2.txt", level_text({"90"}, "10"));
    script::queue_keys("MK");
    EXPECT_EQ(run_game(), 0);
    EXPECT_EQ(count(out(), "Wczytywanie: lvl2.txt"), 1u);
    EXPECT_EQ(count(out(), "Wczytywanie: lvl3.txt"), 1u);
    EXPECT_TRUE(script::errors().empty());
    EXPECT_EQ(game.level_number, 3);
    EXPECT_EQ(game.player_x, 1);
    EXPECT_EQ(out().find("Zginales"), std::string::npos);
}

}  // namespace
