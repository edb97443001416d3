#!/usr/bin/env bash
# Whole-process times of "kvelo-rtf text" against "pandoc -f rtf -t plain" and
# "unrtf --text" on the generated documents (pandoc, unrtf and hyperfine are
# installed by hand for this measurement only).
# Usage: compare.sh BUILD_DIR [WORK_DIR]
set -euo pipefail
build=${1:?build folder with -DKVELO_BENCH=ON}
work=${2:-/tmp/kvelo-rtf-compare}
mkdir -p "$work"
"$build/bench/rtf_reader/bench_rtf_reader" --write-documents "$work"
kvelo="$build/tools/rtf/kvelo-rtf"
for f in "$work"/*.rtf; do
  cmds=("$kvelo text $f")
  command -v pandoc >/dev/null && cmds+=("pandoc -f rtf -t plain $f")
  command -v unrtf >/dev/null && cmds+=("unrtf --text $f")
  hyperfine --warmup 1 --runs "${RUNS:-5}" --style basic --output=null \
    --export-markdown "$work/$(basename "$f" .rtf).md" "${cmds[@]}"
done
