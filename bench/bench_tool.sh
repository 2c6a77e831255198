#!/usr/bin/env bash
# korvane-gif info as a whole program, start-up included, against a plain C
# program that reads the same file with giflib's DGifSlurp; and its peak
# memory against the bound (the document's indices and masks, the file, and
# 4 MiB). Needs hyperfine and GNU time (Debian packages hyperfine, time).
#   usage: bench/bench_tool.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
"$build/bench/bench_gif" --write "$files"
for real in harvesters gifplayer-muybridge; do
  [ -f "../shared/corpora/real/$real.gif" ] && cp "../shared/corpora/real/$real.gif" "$files/"
done

tool="$build/tools/gif/korvane-gif"
slurp="$build/bench/giflib_slurp"
printf '%-24s %12s %12s %8s %12s %12s\n' file korvane-gif giflib ratio "peak KiB" "bound KiB"
for f in "$files"/*.gif; do
  json=$(mktemp)
  hyperfine -N --warmup 3 --runs 30 --export-json "$json" "$tool info $f" "$slurp $f" >/dev/null 2>&1
  read -r ours theirs < <(python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"]; print(r[0]["median"], r[1]["median"])' "$json")
  rm -f "$json"
  peak=$(/usr/bin/time -f '%M' "$tool" info "$f" 2>&1 >/dev/null | tail -n 1)
  # Indices (rows padded to 4 bytes) and masks (1 bit a pixel, rows padded
  # to 4 bytes) of every frame the document holds, plus the file.
  bound=$("$tool" info --json "$f" | python3 -c '
import json, os, sys
d = json.load(sys.stdin)
b = sum(((f["width"] + 3) // 4 * 4 + (f["width"] + 31) // 32 * 4) * f["height"]
        for f in d["frames"] if f["width"])
print((b + os.path.getsize(sys.argv[1]) + 4 * 1024 * 1024) // 1024)' "$f")
  python3 -c 'import sys; o,t=float(sys.argv[2]),float(sys.argv[3]); print("%-24s %9.2f ms %9.2f ms %7.2fx %12s %12s" % (sys.argv[1], o*1e3, t*1e3, t/o, sys.argv[4], sys.argv[5]))' \
    "$(basename "$f")" "$ours" "$theirs" "$peak" "$bound"
done
echo "targets: korvane-gif at least 2x giflib_slurp on the large files; peak within the bound"
