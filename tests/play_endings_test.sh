#!/usr/bin/env bash
# The game binary played from a pipe, checked by the frames it writes and by
# how it ends: on the shipped levels, in a folder without levels, and a bomb
# that burns a crate.
#   play_endings_test.sh GAME_BINARY LEVELS_FOLDER
set -euo pipefail
# Glyphs are counted as characters, whatever the caller's locale.
export LC_ALL=C.UTF-8

game=$(realpath "$1")
levels=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The frames of a run's output, one file each: frame.1, frame.2, ...
split_frames() {
    local out=$1 folder=$2
    mkdir -p "$folder"
    awk -v dir="$folder" 'BEGIN { RS = "\033\\[H\033\\[2J"; n = 0 }
        NR > 1 { n++; printf "%s", $0 > (dir "/frame." n) }
        END { print n > (dir "/count") }' "$out"
}

# The shipped levels: three steps, a bomb, and q.
(cd "$levels" && printf 'MMM q' | "$game" >"$work/shipped.out" 2>"$work/shipped.err") \
    && status=0 || status=$?
[ "$status" -eq 0 ] || fail "shipped levels: status $status, want 0"
grep -q 'Game Over ;o' "$work/shipped.out" || fail "shipped levels: no closing message"
[ ! -s "$work/shipped.err" ] || fail "shipped levels: wrote to the error stream"

# No level file: the closing screen, an error line and status 1.
mkdir "$work/empty"
(cd "$work/empty" && printf 'MMM q' | "$game" >"$work/empty.out" 2>"$work/empty.err") \
    && status=0 || status=$?
[ "$status" -eq 1 ] || fail "empty folder: status $status, want 1"
grep -q 'Game Over ;o' "$work/empty.out" || fail "empty folder: no closing message"
[ "$(cat "$work/empty.err")" = "blastovia: cannot open lvl1.txt: No such file or directory" ] \
    || fail "empty folder: error line is '$(cat "$work/empty.err")'"

# A bomb beside a crate: lay it, step left and up out of its reach, wait.
mkdir "$work/crate"
{
    for y in $(seq 0 15); do
        if [ "$y" -eq 5 ]; then
            echo "00000060000000000000000000000000"
        else
            echo "00000000000000000000000000000000"
        fi
    done
    echo "55"
} >"$work/crate/lvl1.txt"
# The bomb is laid in tick 1 and goes off in tick 15, on the last key; the
# end of the input then acts as q.
(cd "$work/crate" && printf ' KH%s' xxxxxxxxxxxx | "$game" >"$work/crate.out") \
    || fail "crate: status $?"
[ "$(grep -c 'Game Over ;o' "$work/crate.out")" = 1 ] || fail "crate: no closing message"
split_frames "$work/crate.out" "$work/frames"
frames=$(cat "$work/frames/count")
row() { sed -n "$(($2 + 2))p" "$work/frames/frame.$1"; }
blank=$(printf '%32s' '')
board_row() { printf '\t║%s%s║' "$1" "${blank:${#1}}"; }

[ "$(row 3 5)" = "$(board_row '    ☺@▒')" ] || fail "crate: no bomb once the player stepped off: '$(row 3 5)'"
explosion=$((frames - 1))
[ "$(row $explosion 4)" = "$(board_row '    ☺#')" ] || fail "crate: explosion row 4 '$(row $explosion 4)'"
# The crate burns to fire, or now and then (a random draw) to a bonus.
crate_remains='(#|ó|┼)'
[[ "$(row $explosion 5)" =~ ^$'\t'║\ {4}##${crate_remains}\ {25}║$ ]] \
    || fail "crate: explosion row 5 '$(row $explosion 5)'"
[ "$(row $explosion 6)" = "$(board_row '     #')" ] || fail "crate: explosion row 6 '$(row $explosion 6)'"
[[ "$(row $frames 5)" =~ ^$'\t'║\ {6}( |ó|┼)\ {25}║$ ]] \
    || fail "crate: the fire was not cleared: '$(row $frames 5)'"
grep -q $'Hp: ♥♥♥; Punkty: 1$' "$work/frames/frame.$frames" || fail "crate: the crate scored no point"
# Frames: the first board, the bomb, two steps, the explosion and the board
# that q draws, in which the fire has gone.
[ "$frames" -eq 6 ] || fail "crate: $frames frames, want 6"

if [ "$failures" -ne 0 ]; then
    echo "play endings: $failures failed"
    exit 1
fi
echo "play endings: all passed"
