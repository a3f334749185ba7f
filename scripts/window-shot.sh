#!/usr/bin/env bash
# Starts the real window on the simulated controller on a virtual X screen, checks that it
# carries its own icon, and takes its picture once the read-back has filled it.
#   scripts/window-shot.sh BIN_DIR OUT.png
set -euo pipefail
bin=$(cd "$1" && pwd)
out=$(realpath -m "$2")

if [ -z "${ORVA_SHOT_INSIDE:-}" ]; then
    ORVA_SHOT_INSIDE=1 exec xvfb-run -a -s "-screen 0 1600x1000x24" "$0" "$@"
fi

# The tests run on the offscreen platform; this picture needs a real window on the X screen.
unset QT_QPA_PLATFORM
folder=$(mktemp -d)
cd "$folder"
"$bin/orva" --demo 2>"$folder/orva.log" &
orva=$!
trap 'kill $orva 2>/dev/null || true; wait $orva 2>/dev/null || true; rm -rf "$folder"' EXIT

window=""
for _ in $(seq 200); do
    window=$(xwininfo -root -tree | awk '/"Halvane/ {print $1; exit}')
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || {
    echo "window-shot: no window appeared; orva said:" >&2
    cat "$folder/orva.log" >&2
    exit 1
}
# The read-back of every setting takes about a quarter of a second on the simulated line.
sleep 2
icons=$(xprop -id "$window" _NET_WM_ICON)
grep -Eq '128 x 128|128, 128' <<<"$icons" ||
    { echo "window-shot: the window carries no 128x128 icon" >&2; exit 1; }
import -window "$window" "$out"
echo "window-shot: $(identify -format '%wx%h' "$out") picture of the window in $out"
