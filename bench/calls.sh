#!/bin/sh
# Process-level benchmark: the wall time of one call of tokloc against a
# static C program that only writes the result line, and against awk, perl
# and python doing the same search; then the two first ones side by side,
# started in turn (PAIRS pairs, default 2,000). Prints a Markdown table of medians,
# ratios to the floor, minor page faults (best of 10) and, for our own
# programs, the size of their code. Each command runs once untimed first
# and must give the expected output. Needs hyperfine (Debian package
# "hyperfine").
#
#   sh bench/calls.sh [BUILD_DIR] [WIN_BUILD_DIR]
#
# BUILD_DIR defaults to build; with WIN_BUILD_DIR the Win32 build is also
# timed under Wine against a static MinGW floor.
set -eu
build=${1:-build}
winbuild=${2:-}
runs=${RUNS:-2000}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
. "$(dirname "$0")/check.sh"

text="This is not a very long string"
big=$(head -c 131070 /dev/zero | tr '\0' a)b
half=$(head -c 65535 /dev/zero | tr '\0' a)b
kib64=$(head -c 65536 /dev/zero | tr '\0' a)

time_cmd() {  # time_cmd NAME RUNS EXPECTED_OUTPUT COMMAND...
  name=$1; count=$2; printf "$3" > "$out/$name.expected"; shift 3
  check_cmd "$name" "$out/$name.expected" 0 "$*"
  echo "$0: timing $name" >&2
  hyperfine -N --style none --warmup 20 --runs "$count" --export-json "$out/$name.json" \
    --command-name "$name" "$(printf '%s\n' "$*")" >/dev/null
  # Minor page faults, best of 10: the pages a call touches.
  best=
  for i in 1 2 3 4 5 6 7 8 9 10; do
    f=$(eval "/usr/bin/time -f %R $*" 2>&1 >/dev/null | tail -n 1)
    case $f in *[!0-9]*|'') continue ;; esac
    if [ -z "$best" ] || [ "$f" -lt "$best" ]; then best=$f; fi
  done
  echo "${best:-}" > "$out/$name.faults"
}
text_size() {  # text_size NAME FILE: the code's size in KB
  size "$2" 2>/dev/null | awk 'NR == 2 { printf "%d", $1 / 1024 }' > "$out/$1.size" || true
}

line='TRUE|20|24|0|very|string|\r\n'
time_cmd floor "$runs" "$line" "$build/bench/tokloc_floor"
time_cmd tokloc "$runs" "$line" "$build/tokloc '$text' long"
text_size floor "$build/bench/tokloc_floor"
text_size tokloc "$build/tokloc"
command -v mawk >/dev/null && time_cmd mawk "$runs" '20\n' "mawk 'BEGIN { print index(\"$text\", \"long\") }'"
command -v gawk >/dev/null && time_cmd gawk "$runs" '20\n' "gawk 'BEGIN { print index(\"$text\", \"long\") }'"
command -v perl >/dev/null && time_cmd perl $((runs / 4)) '20\n' "perl -e 'print index(\"$text\", \"long\") + 1, \"\\n\"'"
command -v python3 >/dev/null && time_cmd python3 $((runs / 10)) '20\n' "python3 -c 'print(\"$text\".find(\"long\") + 1)'"

# The largest single argument Linux passes, with a token that makes a naive
# search quadratic (found only at the very end), against a 64 KiB argument
# whose token is found at once. Both start through with_args, since no
# command line holds them.
printf '%s' "$big" > "$out/big"; printf '%s' "$half" > "$out/half"; printf '%s' "$kib64" > "$out/kib64"
time_cmd worst "$runs" 'TRUE|65536|131072|1|a||\r\n' "$build/bench/with_args $build/tokloc @$out/big @$out/half 1"
time_cmd at_once "$runs" 'TRUE|1|2|1||a|\r\n' "$build/bench/with_args $build/tokloc @$out/kib64 a 1"

if [ -n "$winbuild" ]; then
  # The Wine loader the Win32 build was configured with.
  wine=$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' "$winbuild/CMakeCache.txt")
  export WINEPREFIX="${WINEPREFIX:-$(cd "$winbuild" && pwd)/wineprefix}" WINEDEBUG=-all
  "$(dirname "$wine")/wineserver" -p </dev/null >/dev/null 2>&1 || true
  "$wine" "$winbuild/tokloc.exe" a a </dev/null >/dev/null 2>&1 || true
  time_cmd wine_floor "$runs" "$line" "$wine $winbuild/bench/tokloc_floor.exe"
  time_cmd wine_tokloc "$runs" "$line" "$wine $winbuild/tokloc.exe '$text' long"
  text_size wine_floor "$winbuild/bench/tokloc_floor.exe"
  text_size wine_tokloc "$winbuild/tokloc.exe"
fi

# Side by side: floor and tokloc started in turn, PAIRS times; the median of
# the per-pair ratios is the figure to judge a change by.
"$build/bench/pairs" "${PAIRS:-2000}" "$build/bench/tokloc_floor" -- "$build/tokloc" "$text" long \
  > "$out/pairs.txt"

python3 - "$out" <<'PY'
import json, os, sys
out = sys.argv[1]
def extra(name, suffix):
    try:
        return open(os.path.join(out, name + suffix)).read().strip()
    except OSError:
        return ""
def load(name):
    path = os.path.join(out, name + ".json")
    try:
        return json.load(open(path))["results"][0]
    except (OSError, ValueError, KeyError, IndexError):
        return None
rows = [("floor", "static C, one write", "floor"), ("tokloc", "tokloc", "floor"),
        ("mawk", "mawk index()", "floor"), ("gawk", "gawk index()", "floor"),
        ("perl", "perl index", "floor"), ("python3", "python3 str.find", "floor"),
        ("at_once", "tokloc, 64 KiB text, token found at once", "floor"),
        ("worst", "tokloc, 128 KiB a's and b, 64 Ki a's + b", "at_once"),
        ("wine_floor", "Wine: static MinGW, one WriteFile", "wine_floor"),
        ("wine_tokloc", "Wine: tokloc.exe", "wine_floor")]
print("| command | median ms | min ms | max ms | ratio | page faults | text KB |")
print("|---|---|---|---|---|---|---|")
for key, label, base in rows:
    r, b = load(key), load(base)
    if not r or not b:
        continue
    ratio = r["median"] / b["median"]
    against = "" if base == "floor" else " (to %s)" % base
    print("| %s | %.3f | %.3f | %.3f | %.2f%s | %s | %s |" % (label, r["median"] * 1e3, r["min"] * 1e3, r["max"] * 1e3,
                                                    ratio, against, extra(key, ".faults"), extra(key, ".size")))
pairs = extra("pairs", ".txt").split()
if len(pairs) == 3:
    print("\nPaired, floor and tokloc in turn: medians %s ms and %s ms, median ratio %s." % tuple(pairs))
PY
