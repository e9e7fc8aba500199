#!/bin/sh
# The desktop program against valmero-cli, side by side on one collection:
# starts a private X server, a D-Bus session and the accessibility bus, then
# bench/desktop_vs_cli.py. A measurement, never pass/fail.
#
#   bench/desktop_vs_cli.sh BUILD SOURCE WORK ROUNDS [--against OTHER_BUILD] [--cancel N] [-- make options]
#
# BUILD holds bin/valmero and bin/valmero-cli (the default preset's build);
# SOURCE is a collection made by make_collection.py, its products.cp beside
# it; WORK a scratch folder (put it in /dev/shm) that receives the programs'
# start folders and the target.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exec xvfb-run -a -s "-screen 0 1280x1024x24" dbus-run-session -- \
  "$here/../tests/ui/wx/e2e/run_with_atspi.sh" /usr/bin/python3 "$here/desktop_vs_cli.py" "$@"
