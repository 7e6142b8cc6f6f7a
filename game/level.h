// Level files: the name of a level's file and the loader that turns the file
// into the board and the player's start.
#pragma once

#include <cstdint>
#include <string>

// The file of a level: the base name, the character "0" shifted by the level
// number (one byte, no carry: level 10 is "lvl:.txt"), and ".txt".
std::string level_file_name(std::string base_name, std::int32_t level_number);

// Clears the screen, shows the loading line and the progress figure, fills
// both planes and the player's start from the file, pauses 250 ms and asks
// for a redraw. A file that cannot be opened sets game_over and the reason in
// load_failure, and changes nothing else.
void load_level(std::string base_name, std::int32_t level_number);
