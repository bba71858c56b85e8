#!/usr/bin/env bash
# Makes the screenshots of docs/, which the README and the desktop metainfo show, from a Release build
# (build/, as scripts/play.sh makes it; another build folder as the first argument): the title from the real
# game under Xvfb, and moments of the levels along their recorded routes through the replay demo.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
docs="$top/docs"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ALSOFT_DRIVERS=null

# The title, a few seconds after the game's window opens, in the default 1024x768 window.
cp -r "$build/game" "$work/game"
rm -f "$work/game/quobbel.log" "$work/game/scores.icl"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    cd "$1"
    ./quobbel &
    game=$!
    window=$(timeout 60 xdotool search --sync --name "^Quobbel\$" | head -n 1)
    sleep 8
    import -window "$window" "$2"
    kill "$game"
    wait "$game" || true' _ "$work/game" "$docs/screenshot-title.png"

# A level: the replay demo's shot at `second` seconds of play along the level's recorded route.
level_shot() {
    local level=$1 players=$2 second=$3 name=$4
    xvfb-run -a -s "-screen 0 1280x1024x24" "$build/bench/replay_demo" "$level" "$players" \
        "$top/tests/routes/${level%.imf}_${players}p.route" "$work/$name" "$second" >/dev/null
    cp "$work/$name/${level%.imf}-$(printf %03d "$second")s.png" "$docs/$name.png"
}
level_shot mapa1.imf 1 10 screenshot-level1
level_shot mapa2.imf 1 20 screenshot-level2
level_shot boss1.imf 1 20 screenshot-boss
echo "Screenshots written into $docs"
