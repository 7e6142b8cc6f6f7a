// The program's entry: the game takes no arguments.
#include "console/loop.h"

int main() {
    return run_game();
}
