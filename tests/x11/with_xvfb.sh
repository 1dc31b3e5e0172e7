#!/bin/sh
# Runs a test program on a private X server of its own (no window manager),
# with a private session bus and, where at-spi2-core is installed, the
# accessibility bus on it.
# Usage: with_xvfb.sh PROGRAM [ARGS...]
set -eu
command -v Xvfb >/dev/null || { echo "Xvfb is missing (apt-get install xvfb)" >&2; exit 1; }
# One pipe per server: a reader that opened a shared pipe while the X
# server still held it could see its close as the end before the bus wrote.
fifos=$(mktemp -d)
mkfifo "$fifos/x" "$fifos/bus"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifos/x" 2>/dev/null &
pids=$!
trap 'kill $pids 2>/dev/null; rm -rf "$fifos"' EXIT
read -r display <"$fifos/x" || { echo "with_xvfb.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
unset AT_SPI_BUS_ADDRESS
if command -v dbus-daemon >/dev/null; then
  dbus-daemon --session --nofork --print-address=3 3>"$fifos/bus" 2>/dev/null &
  pids="$! $pids"
  read -r DBUS_SESSION_BUS_ADDRESS <"$fifos/bus" ||
    { echo "with_xvfb.sh: the session bus did not start" >&2; exit 1; }
  export DBUS_SESSION_BUS_ADDRESS
  launcher=/usr/libexec/at-spi-bus-launcher
  if [ -x "$launcher" ]; then
    "$launcher" --launch-immediately 2>/dev/null &
    pids="$! $pids"
  fi
fi
# libxkbcommon-x11 hands strndup names that are not NUL-terminated, which
# AddressSanitizer's strict string checks take for an overflow.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0"
"$@"
