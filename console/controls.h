// The player's controls: one key per tick turned into a step, a bomb or the
// end of the game.
#pragma once

enum class direction { up, down, left, right };

// Reads at most one key (an arrow's 224 and its code count as one) and acts
// on it. The code alone decides: a typed capital M steps right like the
// right arrow.
void handle_key();

// Moves the player one cell, collecting a bonus on the way or entering the
// exit; anything else, and the edge of the board, blocks.
void try_step(direction way);

// The exit: the next level, with at least 3 hit points.
void enter_exit();

// Lays a bomb under the player, unless one lies there already.
void place_bomb();

// The q key: draws the board once more and ends the game after this tick.
void quit_game();
