# Sourced by the benchmarks: what every timed command must pass first.
# A benchmark that times a command which fails measures nothing, so each
# command runs once untimed and must give the expected output and exit
# code, or the benchmark stops.

command -v hyperfine >/dev/null 2>&1 || {
  echo "$0: needs hyperfine (Debian package hyperfine)" >&2
  exit 1
}

# check_cmd NAME EXPECTED_FILE EXPECTED_CODE COMMAND: runs COMMAND (a shell
# command line) once with its output into a file and compares.
check_cmd() {
  rc=0
  sh -c "$4" > "$out/$1.check" 2> "$out/$1.err" || rc=$?
  if [ "$rc" != "$3" ]; then
    echo "$0: $1 exited with $rc, not $3: $4" >&2
    head -c 2000 "$out/$1.err" >&2
    exit 1
  fi
  if ! cmp -s "$2" "$out/$1.check"; then
    echo "$0: $1 gave other output than expected: $4" >&2
    head -c 500 "$out/$1.check" | od -c | head -n 10 >&2
    exit 1
  fi
}
