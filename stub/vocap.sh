#!/bin/sh
# Vocapost message package.
#
# This file is a short audio/video message with its own installer: run it
# with "sh THIS-FILE" (or open it from your file manager) to watch the
# message in Vocapost. The message itself follows the end of this script.

# A relative data folder is not valid; Vocapost ignores it too.
case ${XDG_DATA_HOME:-} in /*) data=$XDG_DATA_HOME ;; *) data=$HOME/.local/share ;; esac
home=${VOCAPOST_HOME:-$data/vocapost}
case $home in /*) ;; *) home=$(pwd)/$home ;; esac
name=${0##*/}
# Vocapost looks for voca-MSG*.exe: a renamed package gets such a name again.
case $name in voca-MSG*.exe) ;; *) name=voca-MSG$name.exe ;; esac
temp=$home/temp

tell() {
  printf '%s\n' "$1" >&2
  if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    if command -v zenity >/dev/null 2>&1; then
      zenity --error --no-markup --title="Vocapost" --text="$1" 2>/dev/null
    elif command -v kdialog >/dev/null 2>&1; then
      kdialog --title "Vocapost" --error "$1" 2>/dev/null
    elif command -v xmessage >/dev/null 2>&1; then
      xmessage -center "$1" 2>/dev/null
    fi
  fi
}

if ! [ -f "$0" ]; then
  tell "Run this message with: sh FILE (it cannot be read from a pipe)."
  exit 1
fi
if ! mkdir -p -- "$temp"; then
  tell "Vocapost could not create the folder $temp for this message."
  exit 1
fi

# The viewer plays the first package it finds in its folder: keep only this one.
for old in "$temp"/voca-MSG*.exe; do
  [ -e "$old" ] || continue
  [ "$old" -ef "$0" ] && continue
  [ "${old##*/}" = "$name" ] || rm -f -- "$old"
done
if ! [ "$temp/$name" -ef "$0" ]; then
  if ! cp -- "$0" "$temp/$name"; then
    tell "Vocapost could not copy this message to $temp."
    exit 1
  fi
fi

viewer=$(command -v vocapost 2>/dev/null)
[ -n "$viewer" ] || [ ! -x "$HOME/.local/bin/vocapost" ] || viewer=$HOME/.local/bin/vocapost
if [ -n "$viewer" ]; then
  # The viewer looks for the package in the folder chosen here.
  VOCAPOST_HOME=$home
  export VOCAPOST_HOME
  exec "$viewer" "$temp/TEMP-MSG.EXE"
fi

tell "This is a Vocapost audio/video message. To play it, install the Vocapost program (the command \"vocapost\" must be on your PATH), then run this file again. The message has been kept in $temp/$name."
exit 1
