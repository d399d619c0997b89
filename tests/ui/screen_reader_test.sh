#!/usr/bin/env bash
# Starts the accessibility bus and PROGRAM on it, then lets CLIENT read the window as
# a screen reader does. Run inside a D-Bus session on an X display of its own:
#   tools/with-display dbus-run-session -- screen_reader_test.sh PROGRAM CLIENT
set -euo pipefail
program=${1:?usage: screen_reader_test.sh PROGRAM CLIENT}
client=${2:?usage: screen_reader_test.sh PROGRAM CLIENT}
launcher=/usr/libexec/at-spi-bus-launcher
[ -x "$launcher" ] || { echo "screen reader test: $launcher is missing (Debian package at-spi2-core)"; exit 1; }

# The accessibility bus's socket goes in a runtime folder of this run's own.
XDG_RUNTIME_DIR=$(mktemp -d)
export XDG_RUNTIME_DIR
"$launcher" --launch-immediately & bus=$!
# The program as any user starts it, with Qt's bridge on whether or not a screen
# reader has asked for it, and an English locale that must change nothing.
LANG=en_US.UTF-8 LC_ALL= QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" & app=$!
trap 'kill "$app" "$bus" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$XDG_RUNTIME_DIR"' EXIT
timeout 170 /usr/bin/python3 "$client"
