#!/usr/bin/env bash
# Installs what the suite needs on Debian 12, builds it, and then either runs
# the main job ("run") or every test ("test"). Run it as the user who will use
# the programs: only a missing package needs root, and is installed through sudo.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
mode=${1:-test}

packages=(cmake ninja-build g++ clang libclang-rt-14-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  # The build stays its user's; only the install is done as root.
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "Missing packages: ${missing[*]}. There is no sudo; install them as root with" >&2
      echo "    apt-get update && apt-get install -y ${missing[*]}" >&2
      echo "then run this script again as yourself." >&2
      exit 1
    fi
    echo "Installing the missing packages through sudo: ${missing[*]}"
    as_root=(sudo)
  fi
  "${as_root[@]}" apt-get update -qq
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

# The build tools' own setting, else one job per core.
jobs=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
passed=0
failed=0
# Runs ctest in a build folder and adds its counts to the totals.
run_tests() {
  local dir=$1 log
  log=$(mktemp)
  local status=0
  (cd "$here/$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$jobs") 2>&1 | tee "$log" || status=1
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
  rm -f "$log"
  passed=$((passed + ${total:-0} - ${bad:-0}))
  failed=$((failed + ${bad:-0}))
  return $status
}
build() {  # folder, extra cmake arguments...
  local dir=$1; shift
  cmake -S "$here" -B "$here/$dir" -G Ninja "$@" >/dev/null
  cmake --build "$here/$dir" -j "$jobs"
}

case "$mode" in
  run)
    build build
    "$here/tools/run-main.sh" "$here/build/bin"
    ;;
  test)
    # Every stage runs even after a failing one, so the summary counts them all.
    status=0
    build build
    run_tests build || status=1
    build build-asan -DTAVO_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    run_tests build-asan || status=1
    build build-fuzz -DTAVO_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    if ! "$here/fuzz/run.sh" "$here/build-fuzz" "${FUZZ_SECONDS:-10}"; then
      echo "fuzz: a target found a fault (its log is above)"
      status=1
    fi
    echo "tests: $passed passed, $failed failed"
    exit $status
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
