#!/usr/bin/env bash
# The main job: probe the serial ports for devices, then query every device
# found, from the program folder with its sample configuration. With no device
# attached it says so.
set -uo pipefail
bin=$1
cd "$bin" || exit 1

echo "== Probing serial ports (tavohwp -d)"
./tavohwp -d
status=$?
echo "-- probe log (tavohwp.txt):"
cat tavohwp.txt 2>/dev/null | tr -d '\r'
[ $status -eq 0 ] || exit $status

if [ ! -f tavo.txt ]; then
  echo "No device answered on any serial port of this machine, so there is nothing to query."
  exit 0
fi
echo "-- devices found (tavo.txt):"
tr -d '\r' < tavo.txt

echo "== Querying the devices found (tavoqry -d)"
./tavoqry -d
status=$?
echo "-- query log (tavoqry.txt):"
cat tavoqry.txt 2>/dev/null | tr -d '\r'
ls -1 feedback_*.txt cinfo_*.txt 2>/dev/null
exit $status
