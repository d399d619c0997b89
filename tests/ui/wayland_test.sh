#!/usr/bin/env bash
# The program as a Wayland desktop shows it: a headless weston at output scale 2, the
# program started with WAYLAND_DISPLAY alone (no X display to fall back on), its app
# id as sent to the compositor, and its picture box in weston's own screenshot.
#
#   wayland_test.sh VASKELO WAYLAND_SHOT_CHECK
set -euo pipefail
vaskelo=$(realpath "$1")
check=$(realpath "$2")
scale=2

work=$(mktemp -d)
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
weston_pid="" program_pid=""
finish() {
  [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null
  [ -n "$weston_pid" ] && kill "$weston_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT

# weston 10 (Debian 12) names its software renderer --use-pixman, later ones
# --renderer=pixman; --debug lets weston-screenshooter take the output.
renderer=--use-pixman
if weston --help 2>&1 | grep -q -- '--renderer='; then renderer=--renderer=pixman; fi
weston --backend=headless-backend.so "$renderer" --width=1024 --height=768 --scale=$scale \
  --socket=wayland-vaskelo --idle-time=0 --debug --no-config --log="$work/weston.log" &
weston_pid=$!
# Each wait below polls for its event until a deadline that a busy machine still meets.
until_within() {  # SECONDS COMMAND...: true once COMMAND succeeds, false at the deadline
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}
until_within 60 test -S "$XDG_RUNTIME_DIR/wayland-vaskelo" || true
if [ ! -S "$XDG_RUNTIME_DIR/wayland-vaskelo" ]; then
  echo "weston did not start:"; cat "$work/weston.log"; exit 1
fi

env -u DISPLAY -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR WAYLAND_DISPLAY=wayland-vaskelo WAYLAND_DEBUG=client \
  "$vaskelo" 2>"$work/protocol.log" &
program_pid=$!

# The app id names the desktop entry, which gives the window its name and icon.
until_within 60 grep -q 'set_app_id' "$work/protocol.log" || true
# (libwayland writes an object as interface@id, from 1.23 on as interface#id.)
app_id=$(grep -o 'xdg_toplevel[@#][0-9]*\.set_app_id("[^"]*")' "$work/protocol.log" | head -n 1 | sed 's/.*("\(.*\)")/\1/' || true)
echo "app id: ${app_id:-none}"
if [ "$app_id" != org.vaskelo.Vaskelo ]; then
  echo "the window's app id is '$app_id', not org.vaskelo.Vaskelo"
  grep -v '^\[' "$work/protocol.log" | head -n 20
  exit 1
fi
# The window draws at the output's scale only on the native path.
if ! until_within 60 grep -q 'wl_surface[@#][0-9]*\.set_buffer_scale(2)' "$work/protocol.log"; then
  echo "the window never drew at the output's scale 2"
  exit 1
fi

# The compositor's screenshot, once the window has committed a frame with its buffer,
# and again until the picture is there, as the compositor may show that frame later.
cd "$work"
until_within 60 grep -q 'wl_surface[@#][0-9]*\.commit()' "$work/protocol.log" || true
shoot() {
  rm -f wayland-screenshot*.png
  WAYLAND_DISPLAY=wayland-vaskelo weston-screenshooter >/dev/null 2>&1 || true
  shot=$(ls wayland-screenshot*.png 2>/dev/null | head -n 1)
  [ -n "$shot" ] && "$check" "$shot" $scale >"$work/check.log" 2>&1
}
if until_within 60 shoot; then
  [ -n "${VASKELO_KEEP_SHOT:-}" ] && cp "$shot" "$VASKELO_KEEP_SHOT"
  exit 0
fi
cat "$work/check.log" 2>/dev/null
if ! kill -0 "$program_pid" 2>/dev/null; then
  echo "the program ended:"; grep -v '^\[' "$work/protocol.log" | tail -n 20
fi
[ -n "${shot:-}" ] || { echo "weston-screenshooter took no screenshot:"; tail -n 20 "$work/weston.log"; }
exit 1
