#!/bin/sh
# Vocapost settings. Vocapost's Setup button runs this file as
# "setmail.exe vocapost.exe"; it opens the settings window, which starts
# Vocapost again when the user is done.

tool=@SETMAIL_TOOL@
if ! [ -x "$tool" ]; then
  tool=$(command -v vocapost-setmail 2>/dev/null)
  [ -n "$tool" ] || [ ! -x "$HOME/.local/bin/vocapost-setmail" ] || tool=$HOME/.local/bin/vocapost-setmail
fi
if [ -n "$tool" ]; then
  exec "$tool" "$@"
fi

printf '%s\n' "The Vocapost settings program (vocapost-setmail) is not installed." >&2
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && command -v xmessage >/dev/null 2>&1; then
  xmessage -center "The Vocapost settings program (vocapost-setmail) is not installed." 2>/dev/null
fi
exit 1
