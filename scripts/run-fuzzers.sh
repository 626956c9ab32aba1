#!/usr/bin/env bash
# Runs every fuzz_* binary in a folder for a bounded time, seeded from the folders listed in its
# .seeds file. Each fuzzer works on a corpus copy under the build tree, so the seeds stay untouched.
set -euo pipefail
dir=$1
seconds=${2:-30}
shopt -s nullglob
fuzzers=("$dir"/fuzz_*)
status=0
for exe in "${fuzzers[@]}"; do
  [ -x "$exe" ] && [ -f "$exe" ] || continue
  name=$(basename "$exe")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  if [ -f "$exe.seeds" ]; then
    while IFS= read -r seed; do
      [ -n "$seed" ] && [ -d "$seed" ] && cp -r "$seed"/. "$corpus"/ 2>/dev/null || true
    done < "$exe.seeds"
  fi
  echo "== $name for ${seconds}s"
  if ! "$exe" -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=4096 -artifact_prefix="$dir/$name-" "$corpus" \
       >"$dir/$name.log" 2>&1; then
    echo "$name found a problem:"; tail -n 60 "$dir/$name.log"; status=1
  fi
  grep -E 'stat::number_of_executed_units|Done [0-9]+ runs' "$dir/$name.log" | tail -n 2 || true
done
[ ${#fuzzers[@]} -eq 0 ] && echo "no fuzz targets"
exit $status
