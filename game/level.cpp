// The level loader. A level file is 16 board lines of 32 cell characters and
// a start line of two characters; every byte is accepted, and short, long or
// missing lines fill the board by the rules of the line buffer below.
#include "game/level.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

#include "console/ops.h"
#include "game/state.h"

namespace {

constexpr int board_line_capacity = 33;  // 32 cells and one character ignored
constexpr int start_line_capacity = 3;   // column, row and one character ignored
constexpr int line_buffer_size = board_line_capacity + 1;
constexpr int end_of_file_byte = 26;  // Ctrl-Z ends a text file
constexpr int loading_pause_ms = 250;

constexpr int no_lookahead = EOF - 1;

// A level file read as text, one line at a time: a CR before an LF is
// dropped and a Ctrl-Z ends the file, on every system alike.
struct line_reader {
    enum class state { good, at_end, failed };
    std::FILE* file;
    int lookahead;  // a byte read ahead, or no_lookahead
    state status = state::good;
    bool ended = false;  // the bytes are used up, or a Ctrl-Z came
};

int next_raw_byte(line_reader& reader) {
    int c = EOF;
    if (reader.lookahead != no_lookahead) {
        c = reader.lookahead;
        reader.lookahead = no_lookahead;
    } else if (!reader.ended) {
        c = std::getc(reader.file);
    }
    if (c == EOF || c == end_of_file_byte) {
        reader.ended = true;
        return EOF;
    }
    return c;
}

// The next character as text mode gives it.
int next_text_char(line_reader& reader) {
    const int c = next_raw_byte(reader);
    if (c != '\r') {
        return c;
    }
    const int after = next_raw_byte(reader);
    if (after == '\n') {
        return '\n';
    }
    reader.lookahead = after;
    return '\r';
}

// Reads one line of at most `capacity` characters into the buffer from
// position 0 and stores a terminator after them; the positions past the
// terminator keep what earlier lines left there.
void read_line(line_reader& reader, char* buffer, int capacity) {
    if (reader.status != line_reader::state::good) {
        buffer[0] = '\0';
        reader.status = line_reader::state::failed;
        return;
    }
    int stored = 0;
    for (;;) {
        const int c = next_text_char(reader);
        if (c == EOF) {
            buffer[stored] = '\0';
            reader.status = stored == 0 ? line_reader::state::failed : line_reader::state::at_end;
            return;
        }
        if (c == '\n') {
            buffer[stored] = '\0';
            return;
        }
        if (stored == capacity) {
            // The line is too long: the rest of the file stays unread.
            buffer[stored] = '\0';
            reader.status = line_reader::state::failed;
            return;
        }
        buffer[stored++] = static_cast<char>(c);
    }
}

// A character of a level file as a number: its code, signed, minus "0".
std::int32_t char_value(char c) {
    return static_cast<signed char>(c) - '0';
}

// The share of the 512 cells stored so far, in whole percent.
std::int32_t progress_percent(std::int32_t cells_stored) {
    return cells_stored * 100 / (board_width * board_height);
}

void show_progress(std::int32_t cells_stored) {
    write_text("\t");
    write_number(progress_percent(cells_stored));
    write_text("%\r");
}

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using file_handle = std::unique_ptr<std::FILE, file_closer>;

// An opened level file with its first byte already read, or the reason
// (an errno value) why it could not be opened.
struct opened_level {
    file_handle file;
    int first_byte = EOF;
    int error = 0;
};

// Opens a level file for reading. A directory or an unreadable file opens on
// some systems but fails at the first read; it counts as not opened.
opened_level open_level_file(const std::string& name) {
    errno = 0;
    opened_level opened{file_handle(std::fopen(name.c_str(), "rb"))};
    if (!opened.file) {
        opened.error = errno != 0 ? errno : ENOENT;
        return opened;
    }
    opened.first_byte = std::getc(opened.file.get());
    if (opened.first_byte == EOF && std::ferror(opened.file.get())) {
        opened.error = errno != 0 ? errno : EIO;
        opened.file.reset();
    }
    return opened;
}

// Fills both planes and the player's start from an opened level file.
void read_board_and_start(line_reader reader) {
    char buffer[line_buffer_size] = {};
    read_line(reader, buffer, board_line_capacity);
    for (std::int32_t y = 0; y < board_height; ++y) {
        for (std::int32_t x = 0; x < board_width; ++x) {
            kind_at(x, y) = static_cast<cell_kind>(char_value(buffer[x]));
            fuse_at(x, y) = 0;
            show_progress(board_width * y + x + 1);
        }
        if (y < board_height - 1) {
            read_line(reader, buffer, board_line_capacity);
        }
    }

    read_line(reader, buffer, start_line_capacity);
    game.player_x = char_value(buffer[0]);
    game.player_y = char_value(buffer[1]);
    if (!on_board(game.player_x, game.player_y)) {
        game.player_x = 0;
        game.player_y = 0;
    }
}

}  // namespace

std::string level_file_name(std::string base_name, std::int32_t level_number) {
    const auto name_char =
        static_cast<unsigned char>('0' + static_cast<std::uint32_t>(level_number));
    base_name += static_cast<char>(name_char);
    base_name += ".txt";
    return base_name;
}

void load_level(std::string base_name, std::int32_t level_number) {
    clear_screen();
    const std::string name = level_file_name(std::move(base_name), level_number);
    write_text("\n\tWczytywanie: ");
    write_text(name);
    write_text("\n");

    opened_level opened = open_level_file(name);
    if (!opened.file) {
        game.load_failure = opened.error;
        game.game_over = true;
        return;
    }
    read_board_and_start(line_reader{opened.file.get(), opened.first_byte});
    opened.file.reset();

    sleep_ms(loading_pause_ms);
    game.redraw_pending = true;
}
