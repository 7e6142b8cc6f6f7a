// The game screen in code page 437 bytes: a double-line frame around the
// board, a glyph per cell, and "Hp" hearts with "Punkty" below.
#include "console/draw.h"

#include <cstdint>
#include <string_view>

#include "console/ops.h"
#include "game/state.h"

namespace {

constexpr char glyph_blank = ' ';
constexpr char glyph_bomb = '@';
constexpr char glyph_flame = '#';
constexpr char glyph_unknown = 'x';
constexpr char glyph_player = '\x01';       // white smiling face
constexpr char glyph_enemy = '\x02';        // black smiling face
constexpr char glyph_heart = '\x03';        // one per hit point
constexpr char glyph_fence = '\x13';        // double exclamation mark
constexpr char glyph_exit = '\x7F';         // house
constexpr char glyph_range_bonus = '\xA2';  // small o with acute
constexpr char glyph_heart_bonus = '\xC5';  // single-line cross
constexpr char glyph_brush = '\xB0';        // light shade
constexpr char glyph_crate = '\xB1';        // medium shade
constexpr char glyph_wall = '\xDB';         // full block

constexpr char frame_top_left = '\xC9';
constexpr char frame_top_right = '\xBB';
constexpr char frame_bottom_left = '\xC8';
constexpr char frame_bottom_right = '\xBC';
constexpr char frame_horizontal = '\xCD';
constexpr char frame_vertical = '\xBA';

constexpr fuse pulse_bomb_fuse = 25;  // re-armed after its rest

void write_byte(char byte) {
    write_text(std::string_view(&byte, 1));
}

void write_repeated(char byte, std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        write_byte(byte);
    }
}

// A top or bottom edge, without its line end.
void write_edge(char left, char right) {
    write_byte('\t');
    write_byte(left);
    write_repeated(frame_horizontal, board_width);
    write_byte(right);
}

// Moves a one-frame state on to its next state and asks for a redraw.
void step_after_frame(cell_kind& kind, cell_kind next) {
    kind = next;
    game.redraw_pending = true;
}

// The glyph of a cell as it stands; a cell in a one-frame state moves on.
char draw_cell(cell_kind& kind, fuse& time_left) {
    switch (kind) {
        case kind_empty:
            return time_left > 0 ? glyph_bomb : glyph_blank;
        case kind_player:
            return glyph_player;
        case kind_enemy:
            return glyph_enemy;
        case kind_flame:
            step_after_frame(kind, kind_empty);
            return glyph_flame;
        case kind_pulse_bomb:
            if (time_left > 0) {
                return glyph_bomb;  // armed
            }
            step_after_frame(kind, kind_pulse_rest);  // flash
            return glyph_flame;
        case kind_pulse_rest:
            step_after_frame(kind, kind_pulse_bomb);
            time_left = pulse_bomb_fuse;
            return glyph_blank;
        case kind_wall:
            return glyph_wall;
        case kind_crate:
            return glyph_crate;
        case kind_brush:
            return glyph_brush;
        case kind_fence:
            return glyph_fence;
        case kind_exit:
            return glyph_exit;
        case kind_range_bonus:
            return glyph_range_bonus;
        case kind_heart_bonus:
            return glyph_heart_bonus;
        default:
            return glyph_unknown;
    }
}

}  // namespace

void draw_board() {
    write_edge(frame_top_left, frame_top_right);
    write_byte('\n');
    for (std::int32_t y = 0; y < board_height; ++y) {
        write_byte('\t');
        write_byte(frame_vertical);
        for (std::int32_t x = 0; x < board_width; ++x) {
            write_byte(draw_cell(kind_at(x, y), fuse_at(x, y)));
        }
        write_byte(frame_vertical);
        write_byte('\n');
    }
    write_edge(frame_bottom_left, frame_bottom_right);

    write_text("\n\tHp: ");
    write_repeated(glyph_heart, game.hp);
    write_text("; Punkty: ");
    write_number(game.points);
    write_byte('\n');
}
