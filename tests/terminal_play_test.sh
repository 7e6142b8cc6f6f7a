#!/usr/bin/env bash
# The game in a real pseudo-terminal: a private tmux server with 80 x 30
# panes. Walks the figure with the arrow keys, quits, and checks that the
# terminal's settings are as they were: after the normal ending, after each
# signal that ends the game, and around a stop with Ctrl-Z and fg.
#
# Usage: terminal_play_test.sh BLASTOVIA_BINARY LEVEL_FILE
# Exits 77 (skipped) when tmux is not installed.
set -euo pipefail

if ! command -v tmux >/dev/null; then
    echo "SKIP: tmux is not installed (tools/install-deps installs it)"
    exit 77
fi

binary=$(realpath "$1")
level=$(realpath "$2")
work=$(mktemp -d)
socket="$work/tmux.sock"
target=""

tm() { tmux -u -S "$socket" -f "$work/tmux.conf" "$@"; }

cleanup() {
    tmux -S "$socket" kill-server 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    if [[ -n $target ]]; then
        echo "--- pane $target ---"
        tm capture-pane -p -t "$target" || true
    fi
    exit 1
}

# Keep a pane that has ended, so its last screen can still be shown.
echo "set -g remain-on-exit on" >"$work/tmux.conf"

# Runs the game in a new session. The wrapper records the tty's settings
# before and after, the game's pid and its exit status; it ignores SIGINT
# itself so that it outlives a Ctrl-C meant for the game.
start_game() {
    target=$1
    local dir="$work/$target"
    mkdir "$dir"
    cp "$level" "$dir/lvl1.txt"
    cat >"$dir/run.sh" <<'EOF'
trap : INT
stty -g >before
sh -c 'echo $$ >game.pid; exec "$0"' "$1"
echo $? >status.tmp
stty -g >after
mv status.tmp status
EOF
    tm new-session -d -s "$target" -x 80 -y 30 -c "$dir" "sh ./run.sh $(printf %q "$binary")"
}

# Polls until the pane shows every given text; fails after about ten seconds.
wait_for_screen() {
    local tries screen text missing
    for ((tries = 0; tries < 100; tries++)); do
        screen=$(tm capture-pane -p -t "$target")
        missing=""
        for text in "$@"; do
            [[ $screen == *"$text"* ]] || missing=$text
        done
        [[ -z $missing ]] && return 0
        sleep 0.1
    done
    fail "the pane never showed '$missing'"
}

# Polls until the pane no longer shows the given text; fails after about ten
# seconds.
wait_for_screen_without() {
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [[ $(tm capture-pane -p -t "$target") != *"$1"* ]] && return 0
        sleep 0.1
    done
    fail "the pane still shows '$1'"
}

# Polls until the game has ended; sets `status` to its exit status.
wait_for_exit() {
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        if [[ -f $work/$target/status ]]; then
            status=$(cat "$work/$target/status")
            return 0
        fi
        sleep 0.1
    done
    fail "the game did not end"
}

# Where the figure stands: its screen line and the bytes before it there.
figure_position() {
    local n=0 line
    while IFS= read -r line; do
        if [[ $line == *☺* ]]; then
            local before=${line%%☺*}
            echo "$n ${#before}"
            return 0
        fi
        n=$((n + 1))
    done < <(tm capture-pane -p -t "$target")
    echo "none"
}

# Polls until the figure stands at the given position.
wait_for_figure() {
    local tries
    for ((tries = 0; tries < 100; tries++)); do
        [[ $(figure_position) == "$1" ]] && return 0
        sleep 0.1
    done
    fail "the figure is at '$(figure_position)', not at '$1'"
}

check_settings_restored() {
    local dir="$work/$target"
    [[ -s $dir/before && -s $dir/after ]] || fail "the tty's settings were not recorded"
    [[ $(cat "$dir/before") == $(cat "$dir/after") ]] ||
        fail "tty settings changed: before $(cat "$dir/before"), after $(cat "$dir/after")"
}

# While the game runs, the pane's tty is in raw mode but Ctrl-C still works.
check_raw_mode() {
    local settings
    settings=$(stty -a -F "$(tm display-message -p -t "$target" '#{pane_tty}')")
    for flag in -icanon -echo -icrnl -ixon isig opost; do
        [[ " $settings " == *[[:space:]]"$flag"[[:space:]]* ]] ||
            fail "the tty lacks '$flag' while the game runs: $settings"
    done
}

frame=(☺ ╔ ═ ║ █)

# Walk and quit. Right arrives as ESC [ C; down is sent as ESC O B, as a
# terminal in application mode sends it; a lone ESC before an arrow is a key
# of its own and must not eat the arrow.
start_game walk
wait_for_screen "${frame[@]}"
check_raw_mode
read -r line column <<<"$(figure_position)"
[[ $line != none ]] || fail "no figure on the screen"
tm send-keys -t "$target" Right
wait_for_figure "$line $((column + 1))"
tm send-keys -t "$target" -H 1b 4f 42
wait_for_figure "$((line + 1)) $((column + 1))"
tm send-keys -t "$target" Escape Left
wait_for_figure "$((line + 1)) $column"
# A raw 0xE0 byte (Alt-` where Alt sends 8-bit keys) is no key here and must
# not leave the game waiting for a second code: a bomb laid before it still
# goes off with no other key pressed.
tm send-keys -t "$target" Space Right Right
wait_for_figure "$((line + 1)) $((column + 2))"
wait_for_screen "@"
tm send-keys -t "$target" -H e0
wait_for_screen_without "@"
tm send-keys -t "$target" q
wait_for_screen "Game Over ;o" "Press any key to continue"
# A lone ESC is a key once no sequence follows it: it ends the pause.
tm send-keys -t "$target" Escape
wait_for_exit
[[ $status == 0 ]] || fail "exit status $status after q and ESC, not 0"
check_settings_restored
echo "ok: walked, quit with status 0, tty settings restored"

# Signals that end the game: the settings come back and the status names the
# signal (128 + its number).
signal_cases=(
    "ctrl-c C-c 130"
    "sigterm TERM 143"
    "sighup HUP 129"
)
for signal_case in "${signal_cases[@]}"; do
    read -r name how expected <<<"$signal_case"
    start_game "$name"
    wait_for_screen "${frame[@]}"
    check_raw_mode
    if [[ $how == C-c ]]; then
        tm send-keys -t "$target" C-c
    else
        kill -s "$how" "$(cat "$work/$target/game.pid")"
    fi
    wait_for_exit
    [[ $status == "$expected" ]] || fail "$name: exit status $status, not $expected"
    check_settings_restored
    echo "ok: $name ended the game with status $status, tty settings restored"
done

# Ctrl-Z under an interactive shell: while the game is stopped the shell has
# the terminal as it was, and fg gives the game raw mode and its screen back.
target=suspend
mkdir "$work/$target"
cp "$level" "$work/$target/lvl1.txt"
tm new-session -d -s "$target" -x 80 -y 30 -c "$work/$target" \
    "env PS1='ready> ' bash --noprofile --norc --noediting -i"
wait_for_screen "ready>"
tm send-keys -t "$target" \
    "stty -g >before; $(printf %q "$binary"); stty -g >after; echo done >status" Enter
wait_for_screen "${frame[@]}"
pane_tty=$(tm display-message -p -t "$target" '#{pane_tty}')
tm send-keys -t "$target" C-z
wait_for_screen "Stopped"
[[ $(stty -g -F "$pane_tty") == $(cat "$work/$target/before") ]] ||
    fail "the stopped game left the terminal changed"
tm send-keys -t "$target" "clear; fg" Enter
wait_for_screen "${frame[@]}"
check_raw_mode
tm send-keys -t "$target" q
wait_for_screen "Game Over ;o"
tm send-keys -t "$target" x
wait_for_exit
check_settings_restored
echo "ok: ctrl-z gave the shell its terminal, fg painted the game again, tty settings restored"
