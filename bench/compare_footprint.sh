#!/usr/bin/env bash
# Two builds of the game side by side, and the peers X-Moto, Neverball and SuperTux (Debian packages) in the
# same sitting: time to the title, idle processor use and memory at the title (the shared title-footprint
# measure.sh, under its own Xvfb), and from each build's own render benchmark (bench_render) the frame rate
# per level (median / 1% low) and the first level load of a process. Prints one markdown table.
#
#   bench/compare_footprint.sh [options] BEFORE_GAME_DIR AFTER_GAME_DIR
#     -n N        measured title runs per game (default 3)
#     -i SEC      idle window at the title (default 20)
#     -S SEC      cut the benchmark's title and routes to SEC seconds of play (default: whole routes)
#     -q PCT      measure.sh's quiet gate (default 10; 100 = off)
#     -P          leave the peers out
#     -o DIR      output folder (default /tmp/quobbel-footprint)
#     -M PATH     measure.sh (default: ../shared/tools/title-footprint/measure.sh beside the repository)
#
# A game directory is a build's game/ folder (quobbel, media.icl, ...). Its benchmark is the build's
# bench/bench_render, and the source tree (for the levels and routes) is read from the build's CMakeCache.txt;
# a build without bench_render gets no frame-rate rows. Each game runs in a scratch copy of its directory
# with the same Quobbel.cfg (1024x768, vsync as shipped, default frame cap). Wall-clock figures need a quiet
# machine: the script says so when the load average is 1.5 or more.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
runs=3; idle=20; seconds=""; quiet=10; peers=1; out=/tmp/quobbel-footprint
measure="$top/../shared/tools/title-footprint/measure.sh"
[ -f "$measure" ] || measure=/work/shared/tools/title-footprint/measure.sh
while getopts "n:i:S:q:Po:M:h" o; do
    case $o in
        n) runs=$OPTARG;; i) idle=$OPTARG;; S) seconds=$OPTARG;; q) quiet=$OPTARG;; P) peers=0;;
        o) out=$OPTARG;; M) measure=$OPTARG;;
        *) sed -n '2,21p' "$0"; exit 2;;
    esac
done
shift $((OPTIND - 1))
[ $# -eq 2 ] || { sed -n '2,21p' "$0" >&2; exit 2; }
[ -x "$measure" ] || [ -f "$measure" ] || { echo "measure.sh not found: $measure (use -M)" >&2; exit 2; }
summarize="$(dirname "$measure")/summarize.py"

load=$(cut -d' ' -f1 /proc/loadavg)
if awk -v l="$load" 'BEGIN { exit !(l >= 1.5) }'; then
    echo "# WARNING: load average $load: other programs are busy, wall-clock figures will not compare" >&2
fi
rm -rf "$out"; mkdir -p "$out/titles" "$out/scratch"

config='Fullscreen = false
WindowResolution = 1024x768
VSync = true
Widescreen = auto
MaxFPS = 60
'
# A scratch copy of a game directory, with the common configuration and no log or scores.
scratch_copy() { # $1 label, $2 game dir
    local dir="$out/scratch/$1"
    cp -r "$2" "$dir"
    rm -f "$dir/quobbel.log" "$dir/scores.icl"
    printf '%s' "$config" > "$dir/Quobbel.cfg"
    echo "$dir"
}

title() { # $1 label, then measure.sh's -c and command
    local label=$1; shift
    bash "$measure" -n "$runs" -i "$idle" -q "$quiet" -o "$out/titles" "$@" > "$out/$label.measure.txt" 2>&1 ||
        echo "# measure.sh failed for $label: see $out/$label.measure.txt" >&2
}

sides=(before after)
dirs=("$1" "$2")
for k in 0 1; do
    label=quobbel_${sides[$k]}
    dir=$(scratch_copy "$label" "${dirs[$k]}")
    echo "# $label: title" >&2
    title "$label" -c "$dir" "$label" -- ./quobbel
done
if [ "$peers" = 1 ]; then
    for peer in xmoto:/usr/games/xmoto neverball:/usr/games/neverball supertux:/usr/games/supertux2; do
        name=${peer%%:*}; binary=${peer#*:}
        if [ -x "$binary" ]; then
            echo "# $name: title" >&2
            title "$name" "$name" -- "$binary"
        else
            echo "# $name not installed (apt-get install ${name/supertux/supertux}): left out" >&2
        fi
    done
fi

for k in 0 1; do
    build=$(cd "${dirs[$k]}/.." && pwd)
    bench="$build/bench/bench_render"
    if [ ! -x "$bench" ]; then
        echo "# ${sides[$k]}: no $bench, no frame rates" >&2
        continue
    fi
    source=$(sed -n 's/^Quobbel_SOURCE_DIR:STATIC=//p' "$build/CMakeCache.txt")
    echo "# ${sides[$k]}: render benchmark" >&2
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" "$source" ${seconds:+--seconds "$seconds"} \
        > "$out/${sides[$k]}.render.txt" 2>&1 || echo "# bench_render failed: $out/${sides[$k]}.render.txt" >&2
done

python3 "$summarize" "$out/titles" > "$out/titles.md" || true
python3 - "$out" "$load" <<'PYEOF'
import csv, glob, os, re, statistics, sys
out, load = sys.argv[1], sys.argv[2]
games = [("quobbel_before", "before"), ("quobbel_after", "after"),
         ("xmoto", "X-Moto"), ("neverball", "Neverball"), ("supertux", "SuperTux")]

def title_medians(name):
    f = glob.glob(os.path.join(out, "titles", name + "-*", "summary.tsv"))
    if not f:
        return None
    rows = list(csv.DictReader(open(f[0]), delimiter="\t"))
    med = [r for r in rows if r["run"] == "median"]
    return med[0] if med else None

def render(side):
    path = os.path.join(out, side + ".render.txt")
    if not os.path.exists(path):
        return {}, None
    rows, first = {}, None
    for line in open(path):
        m = re.match(r"^(\S+)\s+(\d)\s+(\d+) \|\s+([\d.]+)\s+([\d.]+) \|", line)
        if m:
            rows[(m.group(1), int(m.group(2)))] = (float(m.group(4)), float(m.group(5)))
        m = re.match(r"^First level load of the process, from the title: ([\d.]+) ms", line)
        if m:
            first = float(m.group(1))
    return rows, first

cols = [label for _, label in games]
print("Load average at the start: %s (compare wall-clock figures only below 1.5)\n" % load)
print("| | " + " | ".join(cols) + " |")
print("|---" * (len(cols) + 1) + "|")
meds = [title_medians(name) for name, _ in games]
def cell(m, key, fmt, scale=1.0):
    if not m or not m.get(key):
        return "—"
    return fmt % (float(m[key]) * scale)
print("| time to title (s) | " + " | ".join(cell(m, "t_title", "%.2f") for m in meds) + " |")
print("| first frame (s) | " + " | ".join(cell(m, "t_frame", "%.2f") for m in meds) + " |")
print("| CPU idling at the title (% of a core) | " + " | ".join(cell(m, "cpu_pct", "%.0f") for m in meds) + " |")
print("| resident memory at the title (MiB) | " + " | ".join(cell(m, "VmRSS", "%.0f", 1 / 1024) for m in meds) + " |")
renders = {side: render(side) for side in ("before", "after")}
keys = sorted(set(k for side in renders.values() for k in side[0]))
for key in keys:
    cells = []
    for side in ("before", "after"):
        v = renders[side][0].get(key)
        cells.append("%.0f / %.0f" % v if v else "—")
    name = "fps %s %dp (median / 1%% low)" % key if key[0] != "title" else "fps at the title, uncapped (median / 1% low)"
    print("| %s | %s | — | — | — |" % (name, " | ".join(cells)))
firsts = ["%.0f ms" % renders[s][1] if renders[s][1] is not None else "—" for s in ("before", "after")]
print("| first level load of a process | %s | — | — | — |" % " | ".join(firsts))
PYEOF
echo
echo "Per-run details: $out/titles (measure.sh), $out/*.render.txt (bench_render), $out/titles.md"
