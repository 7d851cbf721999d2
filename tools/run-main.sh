#!/usr/bin/env bash
# The main job: probe the serial ports for devices, then query every device
# found, from the program folder with its sample configuration. When no device
# answers on any port, the same probe and query run against two emulated
# devices (tools/tavoemu), writing into build/emulated, so a newcomer sees the
# suite at work.
set -uo pipefail
bin=$(cd "$1" && pwd) || exit 1
cd "$bin" || exit 1

# A text file without its CR line ends, indented; at most $2 lines, or its words $3 to a line.
show() {
  echo "---- $(basename "$1")"
  if [ -n "${3:-}" ]; then
    tr -d '\r' <"$1" | xargs -n "$3" | sed 's/^/    /'
  else
    tr -d '\r' <"$1" | head -n "${2:-1000}" | sed 's/^/    /'
    [ "$(wc -l <"$1")" -le "${2:-1000}" ] || echo "    ..."
  fi
}

# What a user looks at after a probe and a query whose files are in folder $1.
show_results() {
  local out=$1 f
  echo "== The device port file"
  show "$out/tavo.txt"
  echo "== Feedback files (one reply word per command of the initialization file)"
  for f in "$out"/feedback_*.txt; do [ -f "$f" ] && show "$f" "" 8; done
  echo "== Communication-information reports (their start)"
  for f in "$out"/cinfo_*.txt; do [ -f "$f" ] && show "$f" 14; done
  echo "(all in $out, with the logs tavohwp.txt and tavoqry.txt)"
}

# Names each port that the probe's log $1 says did not open, with the system's
# reason and the remedy; false when every port opened.
tell_unopened() {
  local port code reason none=1
  [ -f "$1" ] || return 1
  while read -r port code; do
    none=0
    reason="see $1"
    [ -z "$code" ] || reason="$(perl -e '$! = shift; print "$!"' "$code") (ERROR: $code in $1)"
    echo "$port could not be opened: $reason"
    case $code in
      13) echo '    Join the group dialout (sudo adduser $USER dialout), then log in again.' ;;
      16) echo "    Another program holds it: sudo fuser -v on the port's device node names that program." ;;
    esac
  done < <(tr -d '\r' <"$1" | awk -F': ' '$2 == "ERROR" { code = $3; next }
    sub(/^Error opening serial port /, "", $2) { sub(/:$/, "", $2); print $2, code }
    $2 !~ / is in use by another program/ { code = "" }')
  [ $none -eq 1 ] || echo "(Troubleshooting in docs/first-run.md tells more.)"
  return $none
}

echo "== Probing the serial ports of this machine (tavohwp -d)"
./tavohwp -d || exit
tell_unopened "$bin/tavohwp.txt" && unopened=1
if [ -f tavo.txt ]; then
  echo "== Querying the devices found (tavoqry -d)"
  ./tavoqry -d
  status=$?
  show_results "$bin"
  exit $status
fi

if [ -n "${unopened:-}" ]; then
  echo "No device answered on the serial ports that opened. To show what the suite does, the same"
else
  echo "No device answered on any serial port of this machine. To show what the suite does, the same"
fi
echo "probe and query now run against EMULATED devices: a QUELB relay controller on COM1 and a"
echo "ZIM-8x8 matrix switch on COM4, on pseudo-terminals of the development tool tavoemu."
work=$(cd "$bin/.." && pwd)/emulated
echo "No real port is touched; the files go to $work."
rm -rf "$work" && mkdir -p "$work" || exit 1
coproc EMULATOR { "$bin/../tools/tavoemu" "$work/ports" QUELB:1 ZIM-8x8:4; }
if ! read -r -t 10 ready <&"${EMULATOR[0]}" || [ "$ready" != ready ]; then
  echo "The device emulator did not start." >&2
  exit 1
fi
export TAVO_PORTS=$work/ports
echo "== Probing the emulated ports (tavohwp -d)"
./tavohwp -o "$work/tavo.txt" -d "$work/tavohwp.txt" || exit
echo "== Querying the devices found (tavoqry -d)"
./tavoqry -c tavodevices.cfg -p "$work/tavo.txt" -f "$work/feedback_[devicename]_[port].txt" \
  -i "$work/cinfo_[devicename]_[port].txt" -d "$work/tavoqry.txt"
status=$?
show_results "$work"
exec {EMULATOR[1]}>&-
wait "$EMULATOR_PID" 2>/dev/null
exit $status
