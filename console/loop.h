// The program: start-up, the tick loop, deaths and the ending.
#pragma once

// Runs the whole game and returns the exit status: 0, or 1 when the file of
// level 1 could not be opened.
int run_game();

// One pass of the loop that neither ends the game nor handles a death: the
// key, the bombs, the enemies every third tick and the redraw.
void tick();
