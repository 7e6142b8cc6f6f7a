#!/usr/bin/env bash
# Scripted play: the game with its keys on a pipe. Each byte is a key, escape
# sequences are decoded as on a terminal, the end of the input acts as q and
# the closing pause returns at once; the output carries no control byte but
# TAB, LF, CR and the backend's own sequences.
#
# Usage: pipe_play_test.sh BLASTOVIA_BINARY LEVEL_FILE
set -euo pipefail

binary=$(realpath "$1")
level=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

# Plays the given keys (printf %b escapes) in a folder holding the level
# file; sets `out` and `status`.
play() {
    cp "$level" "$work/lvl1.txt"
    status=0
    (cd "$work" && printf '%b' "$1" | timeout 20 "$binary" >"$work/out") || status=$?
    out=$(cat "$work/out")
}

esc=$'\e'
save_title="${esc}[22;0t"
set_title="${esc}]0;Blastovia"$'\a'
restore_title="${esc}[23;0t"

# Right as a letter, down as ESC O B, a ctrl-right (ESC [ 1 ; 5 C) that is no
# arrow, and a lone ESC just before the input ends. No q: the end quits.
play 'M\eOB\e[1;5C\e'
[[ $status == 0 ]] || fail "status $status, not 0, when the input ends without q"
last_frame=${out##*"${esc}[2J"}
mapfile -t lines <<<"$last_frame"
[[ ${lines[3]} == $'\t║█ ☺ '* ]] || fail "the figure is not at column 2, row 2: '${lines[3]}'"
[[ ${lines[1]} == $'\t║████'* ]] || fail "the first row is not all wall: '${lines[1]}'"
[[ $out == *"Game Over ;o"* ]] || fail "no closing message"
[[ $out == *"Press any key to continue . . . "$'\n'"$restore_title" ]] ||
    fail "the output does not end with the prompt and the terminal's own title"
[[ $out == "$save_title$set_title"* ]] || fail "the title is not set first"

# Remove the sequences the backend writes; nothing else may be a control.
plain=${out//"${esc}[H${esc}[2J"/}
for sequence in "$save_title" "$set_title" "$restore_title"; do
    plain=${plain//"$sequence"/}
done
plain=${plain//[$'\t\n\r']/}
if LC_ALL=C grep -q '[[:cntrl:]]' <<<"$plain"; then
    fail "a control byte reached the output: $(LC_ALL=C grep -o '[[:cntrl:]]' <<<"$plain" | od -An -tx1 | head -1)"
fi
echo "ok: keys decoded from the pipe, its end quit with status 0, no stray control bytes"
