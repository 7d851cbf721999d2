#!/usr/bin/env bash
# Fails when product code includes a header from a folder above its own, so the
# folders stay layers and the build graph stays the folder graph.
#   check_layers.sh <source folder>   checks the tree and lists each offence
#   check_layers.sh --self-test       checks the checker on a tree of known offences
set -euo pipefail

# The folders each product folder may include besides its own, lowest layer first.
# config/main.cpp is the tavocfg program: it alone joins the start-up and the windows.
declare -A below=(
  [link]=""
  [codes]="link"
  [portlist]="link codes"
  [button]="link codes portlist"
  [config]="link codes portlist button"
  [windows]="link codes portlist button config"
  [probe]="link codes portlist"
  [query]="link codes portlist"
  [config/main.cpp]="link codes portlist button config windows"
)
# Plain C++ folders: the console programs must not need Qt.
plain=" link codes portlist probe query "
# First path parts that name a folder of this tree; any other include is a system one.
ours=" link codes portlist button config windows probe query tests bench fuzz data tools "

check() {
  local root=$1 offences=0 folder file line text path first allowed
  for folder in link codes portlist button config windows probe query; do
    [ -d "$root/$folder" ] || continue
    while IFS= read -r file; do
      allowed=" $folder ${below[$folder]} "
      [ -n "${below[$file]+set}" ] && allowed=" $folder ${below[$file]} "
      while IFS=: read -r line text; do
        [[ $text =~ include[[:space:]]*[\<\"]([^\">]*) ]] || continue
        path=${BASH_REMATCH[1]}
        if [[ $plain == *" $folder "* && $path =~ ^Q[A-Za-z]*(/|$) ]]; then
          echo "$file:$line: includes <$path>, but $folder/ is plain C++ without Qt"
          offences=$((offences + 1))
          continue
        fi
        while [[ $path == ./* || $path == ../* ]]; do path=${path#*/}; done
        [[ $path == */* ]] || continue
        first=${path%%/*}
        [[ $ours == *" $first "* ]] || continue
        if [[ $allowed != *" $first "* ]]; then
          echo "$file:$line: includes $path, but $first/ is not below $folder/"
          offences=$((offences + 1))
        fi
      done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$root/$file" || true)
    done < <(cd "$root" && find "$folder" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cpp' \) | sort)
  done
  [ "$offences" -eq 0 ]
}

self_test() {
  local tree
  tree=$(mktemp -d)
  trap 'rm -rf "$tree"' RETURN
  mkdir -p "$tree"/{link,codes,config,windows,query,probe}
  printf '#include <string>\n#include <QString>\n' >"$tree/link/a.h"
  printf '#include "link/a.h"\n#include "config/b.h"\n' >"$tree/codes/b.cpp"
  printf '#include "button/q.h"\n#include "windows/w.h"\n' >"$tree/config/c.cpp"
  printf '#include "windows/w.h"\n' >"$tree/config/main.cpp"
  printf '#include "query/d.h"\n#include "button/q.h"\n  #  include "../windows/w.h"\n' >"$tree/query/d.cpp"
  printf '#include "config/x.h"\n#include "tests/support/T.h"\n#include <probe/p.h>\n' >"$tree/windows/e.cpp"
  printf '#include <QtCore/QObject>\n#include "query/modX.h"\n' >"$tree/probe/f.cpp"
  local found expected
  found=$(check "$tree" | cut -d: -f1,2 | sort || true)
  expected=$(printf '%s\n' codes/b.cpp:2 config/c.cpp:2 link/a.h:2 probe/f.cpp:1 probe/f.cpp:2 \
                           query/d.cpp:2 query/d.cpp:3 windows/e.cpp:2 windows/e.cpp:3 | sort)
  if [ "$found" != "$expected" ]; then
    echo "the check found:"; echo "$found"; echo "but should find:"; echo "$expected"
    return 1
  fi
  echo "the check finds every offence of the test tree and nothing else"
}

case "${1:-}" in
  --self-test) self_test ;;
  "") echo "usage: $0 <source folder> | --self-test" >&2; exit 2 ;;
  *) check "$1" && echo "every product folder includes only its own folder and those below it" ;;
esac
