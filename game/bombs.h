// Bombs and their blasts: the fuses that count down each tick, a
// detonation's four arms, and what fire does to each cell it reaches.
#pragma once

#include <cstdint>

// What one step of an arm met. Every value but blast_continue ends the arm.
enum blast_result : std::int32_t {
    blast_continue = 0,     // the fire passed; the arm goes on
    blast_hit_player = 1,   // the player lost a hit point
    blast_burnt_enemy = 2,  // an enemy burnt, for points
    blast_chained = 3,      // a bomb was set off for the next tick
    blast_pulse_flash = 4,  // a flashing pulse bomb was destroyed
    blast_wall = 5,
    blast_crate = 6,   // a crate burnt, perhaps leaving a bonus
    blast_burnt = 10,  // a bonus or another high kind burnt
    blast_off_board = 48,
    blast_pulse_rest = 54,  // a resting pulse bomb was destroyed
};

// One tick of every fuse, row by row from the top, each row left to right: a
// fuse above 1 is lowered, a fuse of 1 goes off now. A fuse that a blast
// wrote earlier in the same pass is seen when the pass reaches it.
void tick_fuses();

// The bomb at (x, y) goes off: its cell burns (a pulse bomb stays, with
// range 4) and four arms run left, right, up and down.
void detonate(std::int32_t x, std::int32_t y);

// Fire reaches (x, y), which may lie off the board. `already_scanned` tells
// that this tick's pass has already gone over the cell, so a bomb there is
// set to go off in the next tick with fuse 1 rather than 2.
blast_result blast_cell(std::int32_t x, std::int32_t y, bool already_scanned);
