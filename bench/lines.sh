#!/bin/sh
# The benchmark of --lines: one process searching every line of a file (plain,
# as JSON, the found lines only, and into a pipe), side by side with the
# same job in one mawk process, with "grep -c" (a scan with next to no work
# per line) and with one tokloc call per line. Prints a Markdown table of
# medians, per-line costs and peak memory, and the bytes the plain and the
# JSON run write; fails when --json or --found-only costs more than 1.5
# times the plain run, --all more than 1.2, or --files more than 1.1 times
# the same job on standard input (each started in turn with the job it is
# held to, where the build has bench/pairs). A row with --word times a token mostly
# inside longer words, and one with --all a million occurrences inside one
# long word: both must stay linear. Needs hyperfine and mawk
# (Debian packages "hyperfine" and "mawk").
#
# Peers, each row's output checked first: cat (the floor of reading the
# file), mawk, and ripgrep (Debian package "ripgrep") taking a rare
# token's next word, with and without case. The goals printed at the end
# are ratios of medians: a rare token's word at most ripgrep's time, also
# with case ignored, and that run at most 1.5 times the case-sensitive
# one; plain --lines at most twice cat and mawk at least 15 times slower,
# those two from runs started in turn where the build has bench/pairs
# (PAIRS pairs with cat, default 100; MAWK_PAIRS with mawk, default 20).
#
#   sh bench/lines.sh [BUILD_DIR] [WIN_BUILD_DIR]
#
# LINES sets the file's lines (default 1,000,000, about 50 MB; the token in
# a third of them); with WIN_BUILD_DIR the Win32 build runs under Wine on
# the first WIN_LINES lines (default all). BIG_COPIES=N (say 40: 2 GB)
# also times plain --lines on N copies of the file, for peak memory and
# time against size. The files go to TMPDIR (mktemp's folder): a tmpfs such
# as /dev/shm keeps the page cache's reclaim of a disk's file out of the
# figures.
set -eu
build=${1:-build}
winbuild=${2:-}
lines=${LINES:-1000000}
winlines=${WIN_LINES:-1000000}
runs=${RUNS:-10}
build_abs=$(cd "$build" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
. "$(dirname "$0")/check.sh"
command -v mawk >/dev/null 2>&1 || { echo "$0: needs mawk (Debian package mawk)" >&2; exit 1; }
command -v rg >/dev/null 2>&1 || { echo "$0: needs ripgrep (Debian package ripgrep)" >&2; exit 1; }

# Nine words a line from a small vocabulary, "ERROR:" among them in every
# third line; the same file for every run.
make_file() {  # make_file LINES PATH
  mawk -v n="$1" 'BEGIN {
    split("alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu nu xi omicron pi rho sigma tau", w)
    seed = 1
    for (i = 0; i < n; i++) {
      line = ""
      at = i % 3 == 0 ? (i / 3) % 10 : -1
      for (k = 0; k < 10; k++) {
        if (k == at) word = "ERROR:"
        else { seed = (seed * 1103515245 + 12345) % 2147483648; word = w[int(seed / 65536) % 19 + 1] }
        line = line (k ? " " : "") word
      }
      print line
    }
  }' > "$2"
}
make_file "$lines" "$out/lines.txt"
head -n 1000 "$out/lines.txt" > "$out/first1000.txt"
head -n 20 "$out/lines.txt" > "$out/first20.txt"

# The same job in mawk: first occurrence, positions, the whole word on each
# side (blank, comma and semicolon delimit), the same result lines.
cat > "$out/job.awk" <<'AWK'
BEGIN { t = ARGV[1]; ARGV[1] = ""; n = length(t) }
{
  sub(/\r$/, "")
  p = index($0, t)
  if (!p) { printf "FALSE|0|0|0|||\r\n"; next }
  found = 1
  b = substr($0, 1, p - 1); sub(/[ ,;]+$/, "", b); match(b, /[^ ,;]*$/); b = substr(b, RSTART)
  a = substr($0, p + n); sub(/^[ ,;]+/, "", a); match(a, /^[^ ,;]*/); a = substr(a, 1, RLENGTH)
  printf "TRUE|%d|%d|0|%s|%s|\r\n", p, p + n, b, a
}
END { exit found ? 0 : 76 }
AWK
# The expected output of every command: tokloc's, which mawk's must equal
# line for line, and grep's count of the lines that hold the token.
"$build/tokloc" --lines ERROR: < "$out/lines.txt" > "$out/expected.txt"
head -n 1000 "$out/expected.txt" > "$out/expected1000.txt"
head -n 20 "$out/expected.txt" > "$out/expected20.txt"
grep -c '^TRUE' "$out/expected.txt" > "$out/expected.count"
# The same results as JSON Lines and as the found lines alone, written out
# from the checked plain lines (the file's words need no JSON escapes).
python3 - "$out" <<'PY'
import os, sys
out = sys.argv[1]
plain = open(os.path.join(out, "expected.txt"), "rb").read().split(b"\r\n")[:-1]
with open(os.path.join(out, "expected-json.txt"), "wb") as j, open(os.path.join(out, "expected-found.txt"), "wb") as f:
    for n, line in enumerate(plain, 1):
        found, pos, after, length, before, behind, _ = line.split(b"|")
        j.write(b'{"line":%d,"found":%s,"position":%s,"after_position":%s,"length":%s,"before":"%s","after":"%s"}\n'
                % (n, b"true" if found == b"TRUE" else b"false", pos, after, length, before, behind))
        if found == b"TRUE":
            f.write(line + b"\r\n")
# A rare token's next word (blank, comma and semicolon delimit), one line
# each, as tokloc --field=after and ripgrep's -o -r '$1' write them.
with open(os.path.join(out, "lines.txt"), "rb") as f, open(os.path.join(out, "expected-rare.txt"), "wb") as r:
    for line in f:
        at = line.find(b"mu nu xi")
        if at >= 0:
            rest = line[at + 8:].rstrip(b"\r\n").lstrip(b" ,;")
            word = rest
            for d in b" ,;":
                word = word.split(bytes([d]))[0]
            r.write(word + b"\n")
# --files on the same file: the found lines, each after the file's name.
with open(os.path.join(out, "expected-files.txt"), "wb") as f:
    f.write(b"".join(b"lines.txt|" + line + b"\r\n" for line in plain if line.startswith(b"TRUE")))
# A token mostly inside longer words: "ab " a million times, then the token,
# "ab " 2,000 times and "a", which stands as a word only at the very end.
token = b"ab " * 2000 + b"a"
text = b"ab " * 1000000 + token
open(os.path.join(out, "word.txt"), "wb").write(text + b"\n")
open(os.path.join(out, "word.token"), "wb").write(token)
open(os.path.join(out, "expected-word.txt"), "wb").write(
    b"TRUE|%d|%d|0|ab||\r\n" % (len(text) - len(token) + 1, len(text) + 1))
# Every occurrence on one line with no delimiter: "ab" and a non-ASCII
# character a million times; each occurrence's words are the whole line
# on either side, which one scan of the line must give.
open(os.path.join(out, "dense.txt"), "wb").write("ab\u00e9".encode() * 1000000 + b"\n")
open(os.path.join(out, "expected-dense.txt"), "wb").write(b"".join(b"%d\n" % (3 * i + 1) for i in range(1000000)))
PY

time_cmd() {  # time_cmd NAME RUNS EXPECTED_FILE COMMAND [SINK]: SINK takes the output while timed
  check_cmd "$1" "$3" 0 "$4"
  echo "$0: timing $1" >&2
  hyperfine --style none --warmup 2 --runs "$2" --export-json "$out/$1.json" --command-name "$1" \
    "$4 > ${5:-/dev/null}" >/dev/null
  # Peak memory in KiB.
  /usr/bin/time -f %M sh -c "$4" 2>&1 >/dev/null | tail -n 1 > "$out/$1.mem"
}
time_cmd tokloc "$runs" "$out/expected.txt" "$build/tokloc --lines ERROR: < $out/lines.txt"
time_cmd tokloc_json "$runs" "$out/expected-json.txt" "$build/tokloc --lines --json ERROR: < $out/lines.txt"
time_cmd tokloc_found "$runs" "$out/expected-found.txt" "$build/tokloc --lines --found-only ERROR: < $out/lines.txt"
# Every occurrence: one a line here, so the same lines.
time_cmd tokloc_all "$runs" "$out/expected.txt" "$build/tokloc --lines --all ERROR: < $out/lines.txt"
# The file named, against the same file as standard input (found lines).
time_cmd tokloc_files "$runs" "$out/expected-files.txt" "cd $out && $build_abs/tokloc --files --found-only ERROR: lines.txt"
time_cmd tokloc_word "$runs" "$out/expected-word.txt" \
  "$build/tokloc --lines --word \"\$(cat $out/word.token)\" < $out/word.txt"
time_cmd tokloc_dense "$runs" "$out/expected-dense.txt" \
  "LC_ALL=C.UTF-8 $build/tokloc --lines --all --ignore-case --field=position AB < $out/dense.txt"
# Into a pipe, where blocks stay at 4 KiB so that parallel writers never
# mix their lines. dash has no pipefail, so cat's exit code is the one
# checked; the same tokloc commands were checked above, exit code and all.
time_cmd tokloc_pipe "$runs" "$out/expected.txt" "$build/tokloc --lines ERROR: < $out/lines.txt | cat"
time_cmd tokloc_json_pipe "$runs" "$out/expected-json.txt" \
  "$build/tokloc --lines --json ERROR: < $out/lines.txt | cat"
time_cmd mawk "$runs" "$out/expected.txt" "mawk -f $out/job.awk ERROR: < $out/lines.txt"
time_cmd cat "$runs" "$out/lines.txt" "cat $out/lines.txt"
# A rare token (687 lines of a million): its next word.
time_cmd tokloc_rare "$runs" "$out/expected-rare.txt" \
  "$build/tokloc --lines --found-only --lf --field=after 'mu nu xi' < $out/lines.txt"
time_cmd rg_rare "$runs" "$out/expected-rare.txt" "rg -N -o -r '\$1' -- 'mu nu xi[ ,;]*([^ ,;]*)' $out/lines.txt"
time_cmd tokloc_rare_i "$runs" "$out/expected-rare.txt" \
  "$build/tokloc --lines --found-only --lf --field=after --ignore-case 'MU NU XI' < $out/lines.txt"
time_cmd rg_rare_i "$runs" "$out/expected-rare.txt" "rg -i -N -o -r '\$1' -- 'MU NU XI[ ,;]*([^ ,;]*)' $out/lines.txt"
if [ "${BIG_COPIES:-0}" -gt 0 ]; then
  # The results of the copies are the copies of the results.
  i=0
  while [ "$i" -lt "$BIG_COPIES" ]; do cat "$out/lines.txt" >&3; cat "$out/expected.txt"; i=$((i + 1)); done \
    3> "$out/big.txt" > "$out/expected-big.txt"
  time_cmd tokloc_big 3 "$out/expected-big.txt" "$build/tokloc --lines ERROR: < $out/big.txt"
  rm -f "$out/big.txt" "$out/expected-big.txt" "$out/tokloc_big.check"
fi
# The two goals against peers, also started in turn (bench/pairs, where the
# build has it): a machine whose speed drifts then slows both alike.
if [ -x "$build/bench/pairs" ]; then
  echo "$0: starting tokloc in turn with cat and with mawk" >&2
  PAIRS_INPUT="$out/lines.txt" "$build/bench/pairs" "${PAIRS:-100}" "$(command -v cat)" -- \
    "$build_abs/tokloc" --lines ERROR: > "$out/pair_cat.txt"
  PAIRS_INPUT="$out/lines.txt" "$build/bench/pairs" "${MAWK_PAIRS:-20}" "$build_abs/tokloc" --lines ERROR: -- \
    "$(command -v mawk)" -f "$out/job.awk" ERROR: > "$out/pair_mawk.txt"
  # The switches' budgets the same way, each against its plain job.
  for job in json:--json found:--found-only all:--all; do
    PAIRS_INPUT="$out/lines.txt" "$build/bench/pairs" "${PAIRS:-100}" "$build_abs/tokloc" --lines ERROR: -- \
      "$build_abs/tokloc" --lines "${job#*:}" ERROR: > "$out/pair_${job%%:*}.txt"
  done
  PAIRS_INPUT="$out/lines.txt" "$build/bench/pairs" "${PAIRS:-100}" "$build_abs/tokloc" --lines --found-only ERROR: -- \
    "$build_abs/tokloc" --files --found-only ERROR: "$out/lines.txt" > "$out/pair_files.txt"
fi
# Into a file: GNU grep stops at the first match when its output is /dev/null.
time_cmd grep "$runs" "$out/expected.count" "grep -c ERROR: $out/lines.txt" "$out/grep.count"
# One call per line, as scripts did before --lines; a call that neither
# finds nor misses ends the loop.
printf '%s\n' 'while IFS= read -r text || [ -n "$text" ]; do "$1" "$text" "$2" || [ $? = 76 ] || exit 1; done' \
  > "$out/loop.sh"
time_cmd loop 3 "$out/expected1000.txt" "dash $out/loop.sh $build/tokloc ERROR: < $out/first1000.txt"

if [ -n "$winbuild" ]; then
  wine=$(sed -n 's/^CMAKE_CROSSCOMPILING_EMULATOR:[A-Z]*=//p' "$winbuild/CMakeCache.txt")
  export WINEPREFIX="${WINEPREFIX:-$(cd "$winbuild" && pwd)/wineprefix}" WINEDEBUG=-all
  "$(dirname "$wine")/wineserver" -p </dev/null >/dev/null 2>&1 || true
  head -n "$winlines" "$out/lines.txt" > "$out/win.txt"
  head -n "$winlines" "$out/expected.txt" > "$out/expected-win.txt"
  printf 'TRUE|20|24|0|very|string|\r\n' > "$out/expected-floor.txt"
  time_cmd wine_tokloc "$runs" "$out/expected-win.txt" "$wine $winbuild/tokloc.exe --lines ERROR: < $out/win.txt"
  time_cmd wine_floor "$runs" "$out/expected-floor.txt" "$wine $winbuild/bench/tokloc_floor.exe < $out/win.txt"
  # One call per line from cmd.exe, each result read by for /f, as batch
  # files did before --lines. cmd /c drops the first and the last quote of
  # a command line that starts with one: "call" keeps them.
  printf '%s\r\n' '@echo off' 'for /f "usebackq delims=" %%L in ("%~1") do (' \
    "  for /f \"delims=\" %%R in ('call \"%~2\" \"%%L\" ERROR:') do echo %%R" ')' 'exit /b 0' > "$out/loop.bat"
  # A Windows path of a file, quoted for the shell that runs the command.
  z() { printf "'Z:%s'" "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" | tr / '\\'; }
  time_cmd wine_loop 3 "$out/expected20.txt" \
    "$wine cmd /c $(z "$out/loop.bat") $(z "$out/first20.txt") $(z "$winbuild/tokloc.exe") < /dev/null"
fi

python3 - "$out" "$lines" "$winlines" <<'PY'
import json, os, sys
out, lines, winlines = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
def load(name):
    try:
        return json.load(open(os.path.join(out, name + ".json")))["results"][0]
    except (OSError, ValueError, KeyError, IndexError):
        return None
def mem(name):
    try:
        return "%.1f" % (int(open(os.path.join(out, name + ".mem")).read()) / 1024)
    except (OSError, ValueError):
        return ""
# Per line: the median over the lines; under Wine, less the start of a
# process (the static MinGW floor), which dwarfs the work.
floor = load("wine_floor")
rows = [("tokloc", "tokloc --lines", lines, 0), ("tokloc_json", "tokloc --lines --json", lines, 0),
        ("tokloc_found", "tokloc --lines --found-only", lines, 0),
        ("tokloc_all", "tokloc --lines --all", lines, 0),
        ("tokloc_files", "tokloc --files --found-only (the file named)", lines, 0),
        ("tokloc_word", "tokloc --lines --word, a 6,001-byte token mostly inside longer words, one 3 MB line", 0, 0),
        ("tokloc_dense", "tokloc --lines --all --ignore-case, a million occurrences on one 4 MB line without delimiters",
         0, 0),
        ("tokloc_pipe", "tokloc --lines, into a pipe (cat)", lines, 0),
        ("tokloc_json_pipe", "tokloc --lines --json, into a pipe (cat)", lines, 0),
        ("mawk", "mawk, the same job", lines, 0), ("cat", "cat", lines, 0),
        ("tokloc_rare", "tokloc --lines --found-only --lf --field=after, a rare token", lines, 0),
        ("rg_rare", "rg -N -o -r '$1', the same", lines, 0),
        ("tokloc_rare_i", "the same tokloc with --ignore-case", lines, 0),
        ("rg_rare_i", "rg -i, the same", lines, 0),
        ("grep", "grep -c", lines, 0), ("loop", "one tokloc call per line (dash, first 1,000 lines)", 1000, 0),
        ("wine_floor", "Wine: static MinGW floor, one WriteFile", 0, 0),
        ("wine_tokloc", "Wine: tokloc.exe --lines, less the floor", winlines, floor["median"] if floor else 0),
        ("wine_loop", "Wine: one call per line (cmd.exe for /f, first 20 lines)", 20, 0)]
base = load("tokloc")
print("| command | lines | median s | per line us | to tokloc --lines | peak MiB |")
print("|---|---|---|---|---|---|")
for key, label, count, less in rows:
    r = load(key)
    if not r:
        continue
    per = (r["median"] - less) / count * 1e6 if count else 0
    ratio = per / (base["median"] / lines * 1e6) if base and count else 0
    print("| %s | %s | %.3f | %s | %s | %s |" % (label, "{:,}".format(count) if count else "", r["median"],
                                                "%.3f" % per if count else "", "%.2f" % ratio if count else "",
                                                mem(key)))
sizes = [os.path.getsize(os.path.join(out, key + ".check")) for key in ("tokloc", "tokloc_json")]
print("\nbytes written: plain {:,}, --json {:,}".format(*sizes))
# The switches' budgets against the plain run (--files against the same
# job on standard input).
budgets = [("tokloc_json", "tokloc", 1.5), ("tokloc_found", "tokloc", 1.5), ("tokloc_all", "tokloc", 1.2),
           ("tokloc_files", "tokloc_found", 1.1)]
def paired(name):
    try:
        return float(open(os.path.join(out, name + ".txt")).read().split()[2])
    except (OSError, ValueError, IndexError):
        return None
# From the runs started in turn where there are some: the medians of rows
# timed one after the other drift apart with the machine.
def budget_ratio(key, to):
    ratio = paired("pair_" + key.split("_")[1])
    if ratio is not None:
        return ratio, ", started in turn"
    if load(key) and load(to):
        return load(key)["median"] / load(to)["median"], ""
    return None, ""
over = []
for key, to, limit in budgets:
    ratio, said = budget_ratio(key, to)
    if ratio is not None:
        print("%s: %.2f times %s%s (at most %.1f)" % (key, ratio, to, said, limit))
        if ratio > limit:
            over.append((key, to, limit))
for key, to, limit in over:
    print("%s: %s costs more than %.1f times %s" % (sys.argv[0], key, limit, to))
# The goals against the peers, which differ from machine to machine: shown,
# met or not, but no failure of the benchmark.
print()
goals = [("tokloc_rare", "rg_rare", "at most", 1.0), ("tokloc_rare_i", "rg_rare_i", "at most", 1.0),
         ("tokloc_rare_i", "tokloc_rare", "at most", 1.5), ("tokloc", "cat", "at most", 2.0),
         ("mawk", "tokloc", "at least", 15.0)]
# Against cat and mawk, the ratio of the runs started in turn where there
# is one: the medians of rows timed one after the other drift apart with
# the machine.
turns = {("tokloc", "cat"): paired("pair_cat"), ("mawk", "tokloc"): paired("pair_mawk")}
for key, to, how, limit in goals:
    ratio, said = turns.get((key, to)), ", started in turn"
    if ratio is None and load(key) and load(to):
        ratio, said = load(key)["median"] / load(to)["median"], ""
    if ratio is not None:
        met = ratio <= limit if how == "at most" else ratio >= limit
        print("goal: %s %.2f times %s%s (%s %.1f): %s" % (key, ratio, to, said, how, limit, "met" if met else "missed"))
big, small = load("tokloc_big"), load("tokloc")
if big and small:
    copies = int(os.environ.get("BIG_COPIES", "0"))
    print("big input: %d copies in %.3f s, %.2f times %d times the file alone; peak %s MiB (the file alone %s MiB)"
          % (copies, big["median"], big["median"] / (copies * small["median"]), copies, mem("tokloc_big"),
             mem("tokloc")))
sys.exit(1 if over else 0)
PY
