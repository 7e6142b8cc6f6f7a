// Fuses, detonations and the fire of each arm. The only place where points
// are won and crates turn into bonuses.
#include "game/bombs.h"

#include "console/ops.h"
#include "game/state.h"

namespace {

constexpr std::int32_t pulse_bomb_range = 4;       // arms of 3 cells
constexpr fuse fuse_of_destroyed_pulse_bomb = 20;  // the plain bomb it leaves
constexpr fuse chain_fuse_already_passed = 1;      // goes off in the next pass
constexpr fuse chain_fuse_still_ahead = 2;         // lowered to 1 by this pass

constexpr std::int32_t points_enemy = 2;
constexpr std::int32_t points_pulse_flash = 3;
constexpr std::int32_t points_pulse_rest = 2;
constexpr std::int32_t points_crate = 1;

// A crate may leave a bonus only while the player is this weak and the
// blast this short.
constexpr std::int32_t bonus_max_hp = 5;
constexpr std::int32_t bonus_max_range = 8;
constexpr std::int32_t bonus_odds = 25;  // one draw in 25 for each bonus

// What a burnt crate leaves: a number is drawn only while the player is weak
// and the blast short, and 2 in 25 of the draws give a bonus.
cell_kind crate_remains() {
    if (game.hp > bonus_max_hp || game.blast_range > bonus_max_range) {
        return kind_flame;
    }
    switch (next_random() % bonus_odds) {
        case 0:
            return kind_range_bonus;
        case 1:
            return kind_heart_bonus;
        default:
            return kind_flame;
    }
}

// A pulse bomb hit outside its armed phase turns into a plain bomb.
blast_result destroy_pulse_bomb(cell_kind& kind, fuse& time_left, std::int32_t points,
                                blast_result result) {
    kind = kind_empty;
    time_left = fuse_of_destroyed_pulse_bomb;
    game.points += points;
    return result;
}

// What fire does to a cell that holds neither the player nor a bomb.
blast_result burn(cell_kind& kind, fuse& time_left) {
    switch (kind) {
        case kind_empty:
        case kind_brush:
            kind = kind_flame;
            return blast_continue;
        case kind_player:  // a marker away from the player, placed by a level
        case kind_flame:
        case kind_fence:
        case kind_exit:
            return blast_continue;
        case kind_enemy:
            kind = kind_flame;
            game.points += points_enemy;
            return blast_burnt_enemy;
        case kind_pulse_bomb:
            return destroy_pulse_bomb(kind, time_left, points_pulse_flash, blast_pulse_flash);
        case kind_pulse_rest:
            return destroy_pulse_bomb(kind, time_left, points_pulse_rest, blast_pulse_rest);
        case kind_wall:
            return blast_wall;
        case kind_crate:
            game.points += points_crate;
            kind = crate_remains();
            return blast_crate;
        default:
            // Bonuses and every other kind from 10 up burn and stop the arm;
            // unknown negative kinds let the fire through untouched.
            if (kind >= kind_range_bonus) {
                kind = kind_flame;
                return blast_burnt;
            }
            return blast_continue;
    }
}

}  // namespace

void tick_fuses() {
    for (std::int32_t y = 0; y < board_height; ++y) {
        for (std::int32_t x = 0; x < board_width; ++x) {
            fuse& time_left = fuse_at(x, y);
            if (time_left > 1) {
                --time_left;
            } else if (time_left == 1) {
                detonate(x, y);
            }
        }
    }
}

void detonate(std::int32_t x, std::int32_t y) {
    game.redraw_pending = true;
    const std::int32_t player_range = game.blast_range;
    fuse_at(x, y) = 0;
    if (kind_at(x, y) == kind_pulse_bomb) {
        game.blast_range = pulse_bomb_range;
    } else {
        kind_at(x, y) = kind_flame;
    }
    if (x == game.player_x && y == game.player_y) {
        --game.hp;
    }

    struct arm {
        std::int32_t dx, dy;
        bool already_scanned;  // the cells lie before (x, y) in the pass
    };
    constexpr arm arms[] = {{-1, 0, true}, {1, 0, false}, {0, -1, true}, {0, 1, false}};
    for (const arm& a : arms) {
        for (std::int32_t l = 1; l < game.blast_range; ++l) {
            if (blast_cell(x + a.dx * l, y + a.dy * l, a.already_scanned) != blast_continue) {
                break;
            }
        }
    }
    game.blast_range = player_range;
}

blast_result blast_cell(std::int32_t x, std::int32_t y, bool already_scanned) {
    if (!on_board(x, y)) {
        return blast_off_board;
    }
    if (x == game.player_x && y == game.player_y) {
        --game.hp;  // a bomb under the player is not set off
        return blast_hit_player;
    }
    fuse& time_left = fuse_at(x, y);
    if (time_left > 0) {
        time_left = already_scanned ? chain_fuse_already_passed : chain_fuse_still_ahead;
        return blast_chained;
    }
    return burn(kind_at(x, y), time_left);
}
