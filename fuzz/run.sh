#!/usr/bin/env bash
# Runs every built fuzz target for a bounded time each and fails on any finding.
set -euo pipefail
build=$1
seconds=${2:-20}
shopt -s nullglob
status=0
for f in "$build"/bin/fuzz_*; do
  name=$(basename "$f")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds="$(dirname "$0")/seeds/$name"
  args=("$corpus")
  [ -d "$seeds" ] && args+=("$seeds")
  echo "== $name (${seconds}s)"
  if ! "$f" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/" "${args[@]}" \
       >"$build/$name.log" 2>&1; then
    tail -n 40 "$build/$name.log"
    status=1
  fi
  grep -E 'stat::number_of_executed_units' "$build/$name.log" || true
done
exit $status
