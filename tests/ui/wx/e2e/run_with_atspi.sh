#!/bin/sh
# Runs a command with the accessibility bus up, inside an existing D-Bus
# session and X display (ctest wraps it in xvfb-run and dbus-run-session).
# The bus launcher is ours; it goes when the command ends.
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
sleep 1
GTK_MODULES=gail:atk-bridge NO_AT_BRIDGE=0 "$@" </dev/null
status=$?
kill "$launcher" 2>/dev/null
exit $status
