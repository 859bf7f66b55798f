#!/usr/bin/env bash
# Regenerates the README's screenshots (docs/screenshots/*.png): the editor runs on a
# private X server (Xvfb) with openbox, on a synthetic image (zeros with a few values
# written by qorv; never a real game), and xdotool opens the dialogs.
# Needs: the build (make), and xvfb openbox xdotool imagemagick.
# Usage: scripts/screenshots.sh [DISPLAY_NUMBER]   (default 99)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${BUILD:-build}/bin
out=docs/screenshots
number=${1:-99}

for tool in Xvfb openbox xdotool import; do
  command -v "$tool" >/dev/null || {
    echo "$tool is missing: sudo apt-get install -y xvfb openbox xdotool imagemagick" >&2
    exit 1
  }
done
[[ -x $bin/quorvane && -x $bin/qorv ]] || { echo "Build first: make" >&2; exit 1; }

tmp=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$tmp"
}
trap cleanup EXIT

export DISPLAY=:$number
Xvfb "$DISPLAY" -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 1

# The editor's settings stay out of the user's own file.
export QUORVANE_INI=$tmp/qorv.ini
game=$tmp/game.nes
head -c 40976 /dev/zero >"$game"
# The numbers and colours of the dialogs shown are set to their defaults, as qorv dump
# lists them, so the pictures look like an editor at work rather than a page of zeros.
for dialog in Mario "Enemy 1" Palette; do
  mapfile -t pairs < <("$bin/qorv" dump "$game" --dialog "$dialog" |
    awk -F'   *' 'NR > 1 && $4 ~ /^(Edit|Rad)/ && $8 ~ /^-?[0-9]+$/ { print $4 "=" $8 }')
  "$bin/qorv" set "$game" "${pairs[@]}" >/dev/null 2>&1 ||
    for pair in "${pairs[@]}"; do "$bin/qorv" set "$game" "$pair" >/dev/null 2>&1 || true; done
done
# A fixed time stamp keeps the status bar, and so the picture, the same on every run.
touch -d '2026-01-01 12:00:00' "$game"

"$bin/quorvane" "$game" &
pids+=($!)
main=$(xdotool search --sync --name "^game.nes - Quorvane$" | head -1)
mkdir -p "$out"

shot() { # window-id file
  sleep 0.7
  import -window "$1" -frame "$out/$2"
  echo "$out/$2"
}

xdotool windowactivate --sync "$main"
xdotool mousemove 0 0
shot "$main" main-window.png

dialog() { # keys caption file
  xdotool windowactivate --sync "$main" key "$1"
  local id
  id=$(xdotool search --sync --name "^$2$" | head -1)
  shot "$id" "$3"
  xdotool windowactivate --sync "$id" key Escape
  sleep 0.3
}
dialog ctrl+1 "Mario Settings" mario-settings.png
dialog ctrl+4 "Enemy Settings 1" enemy-settings-1.png
dialog ctrl+9 "Palette Settings" palette-settings.png
