// Keys, steps, bonuses, the exit, bombs and quitting.
#include "console/controls.h"

#include <cstdint>

#include "console/draw.h"
#include "console/ops.h"
#include "game/level.h"
#include "game/state.h"

namespace {

constexpr int key_bomb = ' ';

constexpr fuse new_bomb_fuse = 15;  // goes off in the 14th tick after
constexpr std::int32_t heart_bonus_max_hp = 30;
constexpr std::int32_t exit_min_hp = 3;
constexpr int exit_pause_ms = 500;

}  // namespace

void handle_key() {
    if (!key_waiting()) {
        return;
    }
    game.last_key = read_key();
    if (game.last_key == key_extended_prefix) {
        game.last_key = read_key();
    }
    switch (game.last_key) {
        case key_up:
            try_step(direction::up);
            break;
        case key_down:
            try_step(direction::down);
            break;
        case key_left:
            try_step(direction::left);
            break;
        case key_right:
            try_step(direction::right);
            break;
        case key_bomb:
            place_bomb();
            break;
        case key_quit:
            quit_game();
            break;
        default:
            break;
    }
}

void try_step(direction way) {
    std::int32_t x = game.player_x;
    std::int32_t y = game.player_y;
    switch (way) {
        case direction::up:
            --y;
            break;
        case direction::down:
            ++y;
            break;
        case direction::left:
            --x;
            break;
        case direction::right:
            ++x;
            break;
    }
    if (!on_board(x, y)) {
        return;
    }
    switch (kind_at(x, y)) {
        case kind_empty:
            if (fuse_at(x, y) > 0) {
                return;  // a bomb blocks until it has gone off
            }
            break;
        case kind_exit:
            enter_exit();
            return;
        case kind_range_bonus:
            ++game.blast_range;
            break;
        case kind_heart_bonus:
            if (game.hp < heart_bonus_max_hp) {
                ++game.hp;
            }
            break;
        default:
            return;
    }
    // A collected bonus is erased by the player's marker later in the tick.
    game.player_x = x;
    game.player_y = y;
    game.redraw_pending = true;
}

void enter_exit() {
    ++game.level_number;
    if (game.hp < exit_min_hp) {
        game.hp = exit_min_hp;
    }
    sleep_ms(exit_pause_ms);
    load_level("lvl", game.level_number);
}

void place_bomb() {
    fuse& under_player = fuse_at(game.player_x, game.player_y);
    if (under_player > 0) {
        return;
    }
    game.redraw_pending = true;
    under_player = new_bomb_fuse;
}

void quit_game() {
    clear_screen();
    kind_at(game.player_x, game.player_y) = kind_player;
    draw_board();
    game.hp = 0;
    game.redraw_pending = false;
    game.game_over = true;
}
