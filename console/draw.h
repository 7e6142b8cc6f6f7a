// Drawing the board: the frame, one glyph per cell and the status line.
#pragma once

// Writes the whole screen from the top-left corner, where the caller's clear
// left the cursor. Moves the one-frame states on as it draws them: a flame
// is cleared, a pulse bomb goes from flash to rest and from rest to armed;
// each such step asks for another redraw in the next tick.
void draw_board();
