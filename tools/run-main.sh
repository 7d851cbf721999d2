#!/usr/bin/env bash
# The main job on this machine: for now, show that the suite built.
set -euo pipefail
bin=$1
echo "Built into $bin:"
ls "$bin"
