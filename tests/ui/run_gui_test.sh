#!/usr/bin/env bash
# Runs one GUI test program: on the desktop's display when there is one, else on its own Xvfb,
# with a fresh HOME so that no user setting is read or written.
set -euo pipefail
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" NO_AT_BRIDGE=1 GDK_BACKEND=x11 \
    GSETTINGS_BACKEND=memory
# GTK and fontconfig keep caches for the life of the process, which LeakSanitizer reports as
# leaks; the engine's own leaks are caught by the engine's tests.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
if [ -n "${DISPLAY:-}" ]; then
    exec "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$@"
