#!/usr/bin/env bash
# Where the game's start-up goes: runs a game directory's quobbel under its own Xvfb with perf sampling the
# main thread's call stacks (1 kHz, DWARF unwinding), stops it after a few seconds at the title and prints
# the main thread's start-up as a timeline of phases (dynamic linking, media check, GL driver, window,
# resources, input, sound, each part of the title's load, the first frames), one line per run of samples
# that share a phase, with the processor milliseconds each took. Also the processor time of every thread.
#
#   bench/startup_phases.sh GAME_DIR [SECONDS]      (default 1.5 s of run time)
#
# Timings are processor samples of the main thread, not wall clock: a busy machine stretches the wall-clock
# gaps between phases but barely changes the samples. Needs perf (linux-perf) and xvfb-run; the game runs in
# a scratch copy of GAME_DIR with sound through OpenAL Soft's null backend.
set -euo pipefail
[ $# -ge 1 ] || { sed -n '2,11p' "$0" >&2; exit 2; }
game=$(cd "$1" && pwd)
seconds=${2:-1.5}
command -v perf > /dev/null || { echo "perf not found (apt-get install linux-perf)" >&2; exit 2; }
work=$(mktemp -d /tmp/quobbel-startup.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$game" "$work/game"
rm -f "$work/game/quobbel.log" "$work/game/scores.icl"

cat > "$work/run.sh" << 'EOF'
#!/usr/bin/env bash
# Runs inside xvfb-run: perf records the game, which is stopped by its own process id after the wait.
cd "$1/game"
ALSOFT_DRIVERS=null perf record -q -e cpu-clock -F 1000 --call-graph dwarf,16384 -o "$1/perf.data" \
    ./quobbel > /dev/null 2>&1 &
recorder=$!
sleep "$2"
game=$(ps -o pid= --ppid "$recorder" | tr -d ' ')
[ -n "$game" ] && kill -TERM "$game"
wait "$recorder" || true
EOF
xvfb-run -a -s "-screen 0 1024x768x24" bash "$work/run.sh" "$work" "$seconds"

perf report -i "$work/perf.data" --stdio -n --sort pid -g none 2> /dev/null | grep -E '^ +[0-9]' |
    awk '{ printf "%-24s %6d ms of processor time\n", $4, $3 }'
main=$(perf report -i "$work/perf.data" --stdio -n --sort pid -g none 2> /dev/null |
    grep -m1 -E ':quobbel *$' | awk '{ print $4 }' | cut -d: -f1)
perf script -i "$work/perf.data" --tid "$main" -F time,ip,sym 2> /dev/null > "$work/stacks.txt"
python3 - "$work/stacks.txt" << 'PYEOF'
import re, sys

# The first name found in a sample's stack (innermost first) names its phase; the order matters where
# one phase calls another (the render system's constructor loads the GL driver, whose initialisers run
# inside the dynamic loader).
phases = [
    ("checkMediaArchive", "media check"),
    ("GLRenderSystem::GLRenderSystem", "GL render system and driver"),
    ("loadOgrePlugin", "engine plugins"),
    ("loadImageCodecPlugin", "engine plugins"),
    ("Root::initialise", "engine start"),
    ("openWindow", "window"),
    ("registerResources", "resources and scripts"),
    ("InputState::InputState", "input"),
    ("SoundManager::initialise", "sound"),
    ("MusicPlayer::", "music"),
    ("buttonManager::buttonManager", "overlay toolkit"),
    ("IntroScene::loadWindows", "title: menu and plates"),
    ("Fons::Fons", "title: sky"),
    ("IntroScene::loadTableau", "title: characters and planet"),
    ("IntroScene::load", "title: other"),
    ("renderOneFrame", "frames"),
    ("Quobbel::Quobbel", "start-up: other"),
    ("dl_main", "dynamic linking"),
    ("_dl_start", "dynamic linking"),
]
samples, stack, time = [], [], None
for line in open(sys.argv[1]):
    m = re.match(r"\s*([\d.]+):\s*$", line)
    if m:
        if time is not None:
            samples.append((time, " ".join(stack)))
        time, stack = float(m.group(1)), []
    elif line.strip():
        stack.append(line.strip())
if time is not None:
    samples.append((time, " ".join(stack)))
if not samples:
    sys.exit("no samples of the main thread")
start = samples[0][0]
runs = []
for t, s in samples:
    name = next((label for key, label in phases if key in s), "other")
    if runs and runs[-1][0] == name:
        runs[-1][2], runs[-1][3] = t, runs[-1][3] + 1
    else:
        runs.append([name, t, t, 1])
print("\nMain thread, from the first sample (seconds, processor ms):")
first_frame = None
for name, a, b, n in runs:
    if name == "frames" and first_frame is None:
        first_frame = a
    if n >= 2:
        print("  %6.3f-%6.3f %5d  %s" % (a - start, b - start, n, name))
totals = {}
for name, a, b, n in runs:
    if first_frame is None or a < first_frame:
        totals[name] = totals.get(name, 0) + n
print("\nBefore the first frame (processor ms):")
for name, n in sorted(totals.items(), key=lambda kv: -kv[1]):
    print("  %5d  %s" % (n, name))
if first_frame is not None:
    print("First frame begins %.3f s after the first sample" % (first_frame - start))
PYEOF
