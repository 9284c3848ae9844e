#!/bin/sh
# Instruction counts under valgrind's callgrind, which drift far less than
# wall time: one call of tokloc against the static C floor, and the cost
# of one line of --lines, a line without the token and one with it, plain,
# as JSON, with --found-only, numbered and as one field. A line's cost is
# the difference between runs on 2N and on N lines of 56 bytes, over N, so
# that the start of the process drops out. Each command runs once first
# and must give the expected output. Needs valgrind (Debian package
# "valgrind").
#
#   sh bench/instructions.sh [BUILD_DIR] [BASE_BUILD_DIR]
#
# With BASE_BUILD_DIR, an earlier build's rows (one with the switches, and
# with --field lines ended by LF) stand beside them. N is LINES (default
# 100,000).
set -eu
build=${1:-build}
base=${2:-}
n=${LINES:-100000}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
command -v valgrind >/dev/null 2>&1 || { echo "$0: needs valgrind (Debian package valgrind)" >&2; exit 1; }

# The inputs and every command's expected output, written out.
python3 - "$out" "$n" <<'PY'
import os, sys
out, n = sys.argv[1], int(sys.argv[2])
miss = b"alpha beta gamma delta epsilon zeta eta theta iota kapp\n"
hit = b"alpha beta gamma delta ERROR: epsilon zeta eta theta xy\n"
assert len(miss) == len(hit) == 56
def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
for count in (n, 2 * n):
    write("miss%d.txt" % count, miss * count)
    write("hit%d.txt" % count, hit * count)
    write("miss%d.plain" % count, b"FALSE|0|0|0|||\r\n" * count)
    write("hit%d.plain" % count, b"TRUE|24|30|0|delta|epsilon|\r\n" * count)
    write("miss%d.json" % count, b"".join(
        b'{"line":%d,"found":false,"position":0,"after_position":0,"length":0,"before":"","after":""}\n' % i
        for i in range(1, count + 1)))
    write("hit%d.json" % count, b"".join(
        b'{"line":%d,"found":true,"position":24,"after_position":30,"length":0,"before":"delta","after":"epsilon"}\n'
        % i for i in range(1, count + 1)))
    write("miss%d.numbered" % count, b"".join(b"%d|FALSE|0|0|0|||\r\n" % i for i in range(1, count + 1)))
    write("hit%d.numbered" % count, b"".join(b"%d|TRUE|24|30|0|delta|epsilon|\r\n" % i for i in range(1, count + 1)))
    write("miss%d.field" % count, b"\n" * count)
    write("hit%d.field" % count, b"epsilon\n" * count)
    write("miss%d.found" % count, b"")
    write("hit%d.found" % count, b"TRUE|24|30|0|delta|epsilon|\r\n" * count)
write("call.expected", b"TRUE|20|24|0|very|string|\r\n")
PY

# instructions EXPECTED EXPECTED_CODE COMMAND...: the instructions COMMAND
# executes (standard input from $in), once its output is checked.
instructions() {
  expected=$1 code=$2
  shift 2
  rc=0
  valgrind --tool=callgrind --callgrind-out-file="$out/cg.out" "$@" < "$in" > "$out/got" 2> "$out/err" || rc=$?
  if [ "$rc" != "$code" ] || ! cmp -s "$expected" "$out/got"; then
    echo "$0: $* gave exit code $rc (expected $code) or other output than expected" >&2
    tail -n 5 "$out/err" >&2
    exit 1
  fi
  sed -n 's/^summary: //p' "$out/cg.out"
}

# per_line TOKLOC KIND FORM SWITCHES...: instructions per line of KIND
# (miss or hit) in FORM (plain, json, found, numbered or field).
per_line() {
  exe=$1 kind=$2 form=$3
  shift 3
  code=0
  [ "$kind" = miss ] && code=76
  in=$out/$kind$n.txt
  one=$(instructions "$out/$kind$n.$form" "$code" "$exe" --lines "$@" ERROR:)
  in=$out/$kind$((2 * n)).txt
  two=$(instructions "$out/$kind$((2 * n)).$form" "$code" "$exe" --lines "$@" ERROR:)
  echo $(((two - one) / n))
}

in=/dev/null
call() { instructions "$out/call.expected" 0 "$1/tokloc" "This is not a very long string" long; }
floor=$(instructions "$out/call.expected" 0 "$build/bench/tokloc_floor")
echo "| command | instructions | before (base build) |"
echo "|---|---|---|"
echo "| static C floor, one write | $floor | |"
echo "| tokloc, one call | $(call "$build") | $([ -z "$base" ] || call "$base") |"
for row in "miss plain" "hit plain" "miss json --json" "hit json --json" "miss found --found-only" \
  "hit found --found-only" "miss numbered --line-number" "hit numbered --line-number" "miss field --field=after" \
  "hit field --field=after"; do
  set -- $row
  kind=$1 form=$2
  shift 2
  before=""
  [ -z "$base" ] || before=$(per_line "$base/tokloc" "$kind" "$form" "$@")
  echo "| --lines${1:+ }$* per line, token $([ "$kind" = hit ] && echo found || echo missing) | $(per_line "$build/tokloc" \
    "$kind" "$form" "$@") | $before |"
done
