// Fuzzes the level loader with arbitrary file contents: whatever the bytes,
// a loading must end with a start on the board and a redraw pending, and
// must never read or write outside the board or its line buffer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "game/level.h"
#include "game/state.h"

namespace {

// A folder of this run's own, where each input becomes a level file.
const std::filesystem::path& fuzz_folder() {
    static const std::filesystem::path folder = [] {
        std::filesystem::path made = std::filesystem::temp_directory_path() /
                                     ("blastovia-fuzz-" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(made);
        return made;
    }();
    return folder;
}

void remove_fuzz_folder() {
    std::filesystem::remove_all(fuzz_folder());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string base = (fuzz_folder() / "lvl").string();
    static const bool cleanup_registered = std::atexit(remove_fuzz_folder) == 0;
    (void)cleanup_registered;

    std::FILE* file = std::fopen((base + "1.txt").c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    game = game_state{};
    game.redraw_pending = false;
    load_level(base, 1);
    if (game.game_over || !game.redraw_pending || !on_board(game.player_x, game.player_y)) {
        std::abort();
    }
    return 0;
}
