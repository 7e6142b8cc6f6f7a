// The single instance of the game state, with its start-up values.
#include "game/state.h"

game_state game;
