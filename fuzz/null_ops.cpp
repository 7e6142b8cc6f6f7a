// A console that shows nothing and never waits, for the fuzz targets.
#include "console/ops.h"

void clear_screen() {}
void pause_for_key() {}
void set_title(std::string_view) {}
bool key_waiting() {
    return false;
}
int read_key() {
    return 'q';
}
void sleep_ms(int) {}
void seed_random(std::uint32_t) {}
std::int32_t next_random() {
    return 7;
}
void write_text(std::string_view) {}
void write_number(std::int32_t) {}
void write_error_line(std::string_view) {}
