// The enemies' pass: the draw, the contact explosion and the random step.
#include "game/enemies.h"

#include <cstdint>

#include "console/ops.h"
#include "game/state.h"

namespace {

constexpr std::int32_t action_odds = 20;  // an enemy acts on one draw in 20
constexpr std::int32_t direction_count = 4;
constexpr std::int32_t choose_left = 1;
constexpr std::int32_t choose_right = 2;
constexpr std::int32_t choose_up = 3;  // and 0, like any blocked choice, goes down

struct offset {
    std::int32_t dx, dy;
};
constexpr offset neighbours[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// The player is found by the marker the loop writes for the middle of the
// tick, not by the player's position.
bool beside_player(std::int32_t x, std::int32_t y) {
    for (const offset& n : neighbours) {
        if (on_board(x + n.dx, y + n.dy) && kind_at(x + n.dx, y + n.dy) == kind_player) {
            return true;
        }
    }
    return false;
}

// Costs the player one hit point and turns the enemy's cell and its
// neighbours to flame, whatever they held; their fuses run on.
void explode(std::int32_t x, std::int32_t y) {
    --game.hp;
    kind_at(x, y) = kind_flame;
    for (const offset& n : neighbours) {
        if (on_board(x + n.dx, y + n.dy)) {
            kind_at(x + n.dx, y + n.dy) = kind_flame;
        }
    }
    game.redraw_pending = true;
}

// Enemies walk onto free floor only, bombs or not.
bool free_for_step(std::int32_t x, std::int32_t y) {
    return on_board(x, y) && kind_at(x, y) == kind_empty;
}

// One step picked by a draw: 1 left, 2 right, 3 up; a blocked choice, and
// 0, fall back to down, and a blocked down leaves the enemy where it stands.
void try_enemy_step(std::int32_t x, std::int32_t y) {
    const std::int32_t choice = next_random() % direction_count;
    offset step{};
    if (choice == choose_left && free_for_step(x - 1, y)) {
        step = {-1, 0};
    } else if (choice == choose_right && free_for_step(x + 1, y)) {
        step = {1, 0};
    } else if (choice == choose_up && free_for_step(x, y - 1)) {
        step = {0, -1};
    } else if (free_for_step(x, y + 1)) {
        step = {0, 1};
    } else {
        return;
    }
    kind_at(x + step.dx, y + step.dy) = kind_enemy;
    kind_at(x, y) = kind_empty;
    game.redraw_pending = true;
}

}  // namespace

void move_enemies() {
    for (std::int32_t y = 0; y < board_height; ++y) {
        for (std::int32_t x = 0; x < board_width; ++x) {
            if (kind_at(x, y) != kind_enemy || next_random() % action_odds != 0) {
                continue;
            }
            if (!beside_player(x, y)) {
                try_enemy_step(x, y);
                return;
            }
            explode(x, y);
            ++x;  // the right neighbour has just burnt: go on two columns further
        }
    }
}
