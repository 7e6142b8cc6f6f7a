// The game loop: 40 ms ticks in a fixed order of steps, the death sequence
// and the closing message.
#include "console/loop.h"

#include <cstdint>
#include <cstring>
#include <ctime>
#include <string>

#include "console/controls.h"
#include "console/draw.h"
#include "console/ops.h"
#include "game/bombs.h"
#include "game/enemies.h"
#include "game/level.h"
#include "game/state.h"

namespace {

constexpr int tick_ms = 40;
constexpr int closing_pause_ms = 500;
constexpr std::int32_t enemy_clock_limit = 2;  // enemies act when the clock passes it
constexpr std::int32_t first_level = 1;
constexpr std::int32_t start_hp = 3;
constexpr std::int32_t start_blast_range = 2;

constexpr int exit_ok = 0;
constexpr int exit_no_first_level = 1;

// Loads level 1, at start-up and after a death. Without it the game cannot
// be played at all, so the reason goes to the error stream and the exit
// status, besides the usual closing screen.
void load_first_level(int& exit_status) {
    load_level("lvl", game.level_number);
    if (game.game_over) {
        const std::string line = "blastovia: cannot open " +
                                 level_file_name("lvl", game.level_number) + ": " +
                                 std::strerror(game.load_failure);
        exit_status = exit_no_first_level;
        write_error_line(line);
    }
}

void die(int& exit_status) {
    write_text("\n\tZginales ;o");
    pause_for_key();
    game.hp = start_hp;
    game.points = 0;
    game.blast_range = start_blast_range;
    game.level_number = first_level;
    load_first_level(exit_status);
}

}  // namespace

void tick() {
    sleep_ms(tick_ms);
    ++game.enemy_clock;
    if (!on_board(game.player_x, game.player_y)) {
        game.player_x = 0;
        game.player_y = 0;
    }
    handle_key();
    kind_at(game.player_x, game.player_y) = kind_player;
    tick_fuses();
    if (game.enemy_clock > enemy_clock_limit) {
        game.enemy_clock = 0;
        move_enemies();
    }
    if (game.redraw_pending) {
        game.redraw_pending = false;
        clear_screen();
        draw_board();
    }
    kind_at(game.player_x, game.player_y) = kind_empty;
}

int run_game() {
    int exit_status = exit_ok;
    set_title("Blastovia");
    write_text("\tLoading...");
    seed_random(static_cast<std::uint32_t>(std::time(nullptr)));
    load_first_level(exit_status);
    while (!game.game_over) {
        if (game.hp <= 0) {
            die(exit_status);
        } else {
            tick();
        }
    }
    write_text("\n\tGame Over ;o\n\n\t");
    sleep_ms(closing_pause_ms);
    pause_for_key();
    return exit_status;
}
