#!/bin/sh
# What GNU parallel costs and gains with tokloc --lines: one process on the
# whole file, against parallel splitting it on this machine (--pipepart,
# one job a core) and sending the blocks to two hosts over ssh (our own
# servers on 127.0.0.2 and 127.0.0.3, as the cross-host test starts them,
# on this same machine). Each command's output is checked first (one
# process's); prints a Markdown table of medians. Needs hyperfine,
# parallel and openssh-server (Debian packages).
#
#   sh bench/hosts.sh [BUILD_DIR]
#
# LINES sets the file's lines (default 1,000,000, about 50 MB, the token in
# a third of them); BLOCK the bytes of a block (default 10M).
set -eu
build=$(cd "${1:-build}" && pwd)
lines=${LINES:-1000000}
block=${BLOCK:-10M}
runs=${RUNS:-5}
out=$(mktemp -d)
. "$(dirname "$0")/check.sh"
. "$(dirname "$0")/../tests/e2e/ssh-hosts.sh"
trap 'stop_hosts "$out"; rm -rf "$out"' EXIT
start_hosts "$out"

python3 - "$out/lines.txt" "$lines" <<'PY'
import sys
words = b"alpha beta gamma delta epsilon zeta eta theta iota".split()
with open(sys.argv[1], "wb") as f:
    f.write(b"".join(b" ".join(words[:n % 9] + [b"ERROR:"] + words[n % 9:]) + b"\n" if n % 3 == 0
                     else b" ".join(words) + b" %d\n" % n for n in range(int(sys.argv[2]))))
PY
"$build/tokloc" --lines ERROR: < "$out/lines.txt" > "$out/expected.txt"

time_cmd() {  # time_cmd NAME COMMAND
  check_cmd "$1" "$out/expected.txt" 0 "$2"
  echo "$0: timing $1" >&2
  hyperfine --style none --warmup 1 --runs "$runs" --export-json "$out/$1.json" --command-name "$1" \
    "$2 > /dev/null" >/dev/null
}
cd "$out"
time_cmd one "$build/tokloc --lines ERROR: < lines.txt"
time_cmd local "parallel --pipepart -a lines.txt --block $block --keep-order '$build/tokloc --lines ERROR:'"
time_cmd hosts "parallel --ssh '$SSH_CMD' -S '$HOSTS' --pipepart -a lines.txt --block $block --keep-order \
'$build/tokloc --lines ERROR:'"

python3 - "$out" "$lines" "$block" "$(nproc)" <<'PY'
import json, os, sys
out, lines, block, cores = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
def median(name):
    return json.load(open(os.path.join(out, name + ".json")))["results"][0]["median"]
one = median("one")
print("| %s lines, blocks of %s, %s cores | median s | to one process |" % ("{:,}".format(lines), block, cores))
print("|---|---|---|")
for name, label in (("one", "one tokloc --lines"), ("local", "parallel --pipepart, this machine"),
                    ("hosts", "parallel --pipepart -S, two hosts over ssh")):
    print("| %s | %.3f | %.1f |" % (label, median(name), median(name) / one))
PY
