// The one game state that every rule and the front end read and write: the
// board with its kind and fuse planes, the player and the loop's counters.
#pragma once

#include <array>
#include <cstdint>

constexpr int board_width = 32;
constexpr int board_height = 16;

// What occupies a cell. A level file can store any value here, so the type
// holds every 32-bit integer; the names cover the kinds the rules know.
enum cell_kind : std::int32_t {
    kind_empty = 0,
    kind_player = 1,
    kind_enemy = 2,
    kind_flame = 3,
    kind_pulse_bomb = 4,
    kind_wall = 5,
    kind_crate = 6,
    kind_brush = 7,
    kind_fence = 8,
    kind_exit = 9,
    kind_range_bonus = 10,
    kind_heart_bonus = 11,
    kind_pulse_rest = 54,
};

// Ticks left until the bomb on a cell goes off; 0 or less means no bomb.
using fuse = std::int32_t;

// Two planes over the 32 x 16 cells, stored row by row: [y][x].
struct board {
    std::array<std::array<cell_kind, board_width>, board_height> kinds{};
    std::array<std::array<fuse, board_width>, board_height> fuses{};
};

struct game_state {
    struct board board;
    std::int32_t player_x = 1;
    std::int32_t player_y = 1;
    std::int32_t hp = 3;
    std::int32_t points = 0;
    std::int32_t blast_range = 2;  // each arm of a blast is blast_range - 1 cells
    std::int32_t level_number = 1;
    bool redraw_pending = true;
    bool game_over = false;
    std::int32_t enemy_clock = 0;
    std::int32_t last_key = 0;
    // Why the last level file could not be opened (an errno value), or 0.
    int load_failure = 0;
};

// The one game, alive for the whole process.
extern game_state game;

// True when (x, y) lies on the board.
constexpr bool on_board(std::int32_t x, std::int32_t y) {
    return x >= 0 && x < board_width && y >= 0 && y < board_height;
}

// The planes by (x, y); the cell must lie on the board.
inline cell_kind& kind_at(std::int32_t x, std::int32_t y) {
    return game.board.kinds[y][x];
}
inline fuse& fuse_at(std::int32_t x, std::int32_t y) {
    return game.board.fuses[y][x];
}
