#!/bin/sh
# GNU parallel sends tokloc's jobs to two hosts over ssh (our own servers on
# 127.0.0.2 and 127.0.0.3, see ssh-hosts.sh); each way must give exactly
# one process's output and exit code:
#   - --pipe -N: blocks of lines, each numbered from --first-line;
#   - --pipepart: blocks of the file by bytes (line numbers are not known
#     there, so the results are plain);
#   - --files: one file a job, the file's name in each result.
#
#   sh tests/e2e/across-hosts.sh TOKLOC
set -eu
tokloc=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
here=$(cd "$(dirname "$0")" && pwd)
dir=$(mktemp -d)
. "$here/ssh-hosts.sh"
trap 'stop_hosts "$dir"; rm -rf "$dir"' EXIT
start_hosts "$dir"

# 60,000 lines, the token in every seventh and twice in some; three files.
python3 - "$dir" <<'PY'
import os, sys
d = sys.argv[1]
lines = [b"x TOKEN y TOKEN z\n" if n % 91 == 0 else b"x TOKEN y\n" if n % 7 == 0 else b"line %d here\n" % n
         for n in range(1, 60001)]
open(os.path.join(d, "big.txt"), "wb").write(b"".join(lines))
for k in range(3):
    open(os.path.join(d, "part%d.txt" % k), "wb").write(b"".join(lines[k * 20000:(k + 1) * 20000]))
PY

failed=0
# check NAME EXPECTED_FILE COMMAND...: the command's output and exit code
# against one process's.
check() {
  name=$1 expected=$2
  shift 2
  rc=0
  "$@" > "$dir/got" 2> "$dir/err" || rc=$?
  if [ "$rc" != 0 ] || ! cmp -s "$expected" "$dir/got"; then
    echo "FAIL $name (exit $rc)" >&2
    head -c 1000 "$dir/err" >&2
    cmp "$expected" "$dir/got" >&2 || true
    failed=1
  else
    echo "ok   $name"
  fi
}

cd "$dir"
"$tokloc" --lines --found-only --line-number TOKEN < big.txt > one-numbered.txt
check "--pipe -N, numbered from --first-line per block" one-numbered.txt \
  parallel --ssh "$SSH_CMD" -S "$HOSTS" --pipe -N 7000 --keep-order \
  "$tokloc --lines --found-only --line-number --first-line=\$(( ({#} - 1) * 7000 + 1 )) TOKEN" < big.txt

"$tokloc" --lines TOKEN < big.txt > one-plain.txt
check "--pipepart, plain results" one-plain.txt \
  parallel --ssh "$SSH_CMD" -S "$HOSTS" --pipepart -a big.txt --block 100k --keep-order "$tokloc --lines TOKEN"

"$tokloc" --files --all --json TOKEN "$dir/part0.txt" "$dir/part1.txt" "$dir/part2.txt" > one-files.txt
check "--files, a file a job" one-files.txt \
  parallel --ssh "$SSH_CMD" -S "$HOSTS" --keep-order "$tokloc --files --all --json TOKEN {}" \
  ::: "$dir/part0.txt" "$dir/part1.txt" "$dir/part2.txt"

# Both hosts took jobs.
for host in 127.0.0.2 127.0.0.3; do
  grep -q "Accepted publickey" "sshd_$host.log" || { echo "FAIL no job went to $host" >&2; failed=1; }
done
exit "$failed"
