#!/usr/bin/env bash
# Runs a command as a screen reader's user would run the window: on a
# private X display, with a private session bus and its accessibility bus
# (started before the command, since Qt only joins a bus that is already
# there), and with Qt's accessibility switched on.
# Usage: with-accessibility-bus.sh COMMAND [ARGUMENTS...]
set -euo pipefail
for tool in xvfb-run dbus-run-session dbus-send; do
  command -v "$tool" >/dev/null || { echo "$tool fehlt (scripts/install-deps.sh installiert es)." >&2; exit 1; }
done
[ -x /usr/libexec/at-spi-bus-launcher ] || { echo "at-spi2-core fehlt (scripts/install-deps.sh installiert es)." >&2; exit 1; }
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- sh -c '
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null || exit 1
  exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$@"' with-accessibility-bus "$@" 2> >(grep -v "Failed to set fd limit\|Activating service\|Successfully activated\|SpiRegistry daemon" >&2)
