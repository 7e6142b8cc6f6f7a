// Enemies: cells of kind_enemy that wander at random and blow themselves up
// beside the player.
#pragma once

// One enemy pass, row by row from the top, each row left to right. Each
// enemy reached draws a number and acts only on a multiple of 20: beside the
// player's marker it explodes and the pass goes on; otherwise it tries one
// step and the pass ends.
void move_enemies();
