// What a redraw costs on the terminal backend: the clear and the board drawn
// into the output buffer (code page 437 to UTF-8 on the way), written out
// once every 64 frames or, as the game does, once a frame. A tick lasts at
// least 40 ms; a redraw should be a tiny part of it.
//   build/frame_bench > /dev/null   (the frames go to standard output)
#include <benchmark/benchmark.h>

#include "console/draw.h"
#include "console/ops.h"
#include "game/state.h"

namespace {

// A busy board: every kind of cell the drawing knows, none that changes
// when drawn, so that every frame is the same.
void fill_board() {
    constexpr cell_kind kinds[] = {kind_empty, kind_wall,  kind_crate,       kind_brush,
                                   kind_fence, kind_enemy, kind_range_bonus, kind_heart_bonus};
    for (int y = 0; y < board_height; ++y) {
        for (int x = 0; x < board_width; ++x) {
            kind_at(x, y) = kinds[(x + y) % 8];
        }
    }
    kind_at(0, 0) = kind_player;
    game.hp = 3;
    game.points = 1234;
}

// Frames gathered in the output buffer, written only now and then.
void redraw_into_buffer(benchmark::State& state) {
    fill_board();
    int frames = 0;
    for (auto _ : state) {
        clear_screen();
        draw_board();
        if (++frames % 64 == 0) {
            sleep_ms(0);  // flushes
        }
    }
    sleep_ms(0);
}

// A whole redraw as the loop does it: clear, draw, and the write before the
// next tick's sleep.
void redraw_and_write(benchmark::State& state) {
    fill_board();
    for (auto _ : state) {
        clear_screen();
        draw_board();
        sleep_ms(0);
    }
}

BENCHMARK(redraw_into_buffer);
BENCHMARK(redraw_and_write);

}  // namespace

BENCHMARK_MAIN();
