#!/usr/bin/env bash
# Times `morva-cli fulltext` for a word that occurs nowhere against
# `LC_ALL=C grep -c` over a Shift-JIS text dump of the same body, and reports
# the ratio of the median times and the peak memory of the full-text search.
#
#   bench/fulltext_vs_grep.sh [BUILD_DIR] [BOOK_DIR] [WORD] [RUNS]
set -euo pipefail

build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
book=${2:-$here/../../shared/books/edict-full}
word=${3:-zzqqxyzzy}
runs=${4:-11}
cli=$build/cli/morva-cli

[ -x "$cli" ] || { echo "no morva-cli in $build" >&2; exit 2; }
[ -d "$book" ] || { echo "no book at $book" >&2; exit 2; }
command -v iconv >/dev/null || { echo "iconv is needed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The body as Shift-JIS text, as the grep side reads it.
"$cli" text "$book" | iconv -c -f UTF-8 -t CP932 >"$work/body.sjis"
dump_bytes=$(stat -c %s "$work/body.sjis")
word_sjis=$(printf '%s' "$word" | iconv -f UTF-8 -t CP932)

# Runs a command $runs times; prints the median wall time and the median
# user + system time in milliseconds. (python3 measures: /usr/bin/time counts
# in hundredths of a second.)
measure() {
  python3 - "$runs" "$@" <<'PY'
import resource, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
walls, cpus = [], []
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    walls.append((time.perf_counter() - start) * 1000)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append((after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000)
median = lambda v: sorted(v)[len(v) // 2]
print("%.1f %.1f" % (median(walls), median(cpus)))
PY
}

read -r grep_wall grep_cpu < <(measure env LC_ALL=C grep -c "$word_sjis" "$work/body.sjis")
read -r cli_wall cli_cpu < <(measure "$cli" fulltext "$book" "$word")
# Peak memory as /usr/bin/time reports it.
/usr/bin/time -v -o "$work/usage" "$cli" fulltext "$book" "$word" >/dev/null 2>&1 || true
cli_rss=$(awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }' "$work/usage")

echo "body dump:            $dump_bytes bytes of Shift-JIS"
echo "grep -c (median):     ${grep_wall} ms wall, ${grep_cpu} ms user+system"
echo "morva-cli fulltext:   ${cli_wall} ms wall, ${cli_cpu} ms user+system"
awk -v a="$cli_wall" -v b="$grep_wall" -v c="$cli_cpu" -v d="$grep_cpu" \
  'BEGIN { printf "ratio fulltext/grep:  %.2f (wall), %.2f (user+system)\n", a / (b > 0 ? b : 1), c / (d > 0 ? d : 1) }'
echo "peak memory fulltext: $((cli_rss / 1024)) MB (maximum resident set size ${cli_rss} KB)"
