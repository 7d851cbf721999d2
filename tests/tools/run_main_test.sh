#!/usr/bin/env bash
# The main job names each port that did not open, with the reason and the remedy, before the emulated demo.
set -euo pipefail
work=$(mktemp -d "$1/run-main-test.XXXXXX")  # in the build folder $1
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin" "$work/tools"
cp "$1"/bin/{tavohwp,tavoqry,libtavohwp.so,tavodevices.cfg,QUELB_InitCmds.txt,ZIM-8x8_InitCmds.txt} "$work/bin"
ln -s "$1/tools/tavoemu" "$work/tools"
coproc EMULATOR { exec "$work/tools/tavoemu" "$work/map" QUELB:2; }
read -r _ <&"${EMULATOR[0]}"
# COM1 links to no device node; another program holds COM2 locked.
ln -s "$work/none" "$work/map/COM1"
exec {held}<>"$work/map/COM2"
flock --exclusive --nonblock "$held"
out=$(TAVO_PORTS=$work/map "$(dirname "$0")/../../tools/run-main.sh" "$work/bin")
[[ $out == *"
COM1 could not be opened: No such file or directory (ERROR: 2 in $work/bin/tavohwp.txt)
COM2 could not be opened: Device or resource busy (ERROR: 16 in $work/bin/tavohwp.txt)
    Another program holds it: sudo fuser -v on the port's device node names that program.
(Troubleshooting in docs/first-run.md tells more.)
No device answered on the serial ports that opened."* ]] || { echo "$out"; exit 1; }
