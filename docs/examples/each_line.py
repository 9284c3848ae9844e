#!/usr/bin/env python3
"""each_line.py FILE TOKEN: every line of FILE that holds TOKEN, as JSON
taken apart by Python; a byte that is no text comes back as it was."""
import json
import subprocess
import sys

with open(sys.argv[1], "rb") as source:
    run = subprocess.run(["tokloc", "--lines", "--found-only", "--json", sys.argv[2]], stdin=source,
                         stdout=subprocess.PIPE, check=False)
if run.returncode not in (0, 76):
    sys.exit("tokloc ended with exit code %d" % run.returncode)
for line in run.stdout.splitlines():
    r = json.loads(line)
    # Such a byte is \udcXX, which "surrogateescape" turns back into it.
    before, after = (r[key].encode("utf-8", "surrogateescape") for key in ("before", "after"))
    sys.stdout.buffer.write(b"%d: %d-%d [%s] [%s]\n" % (r["line"], r["position"], r["after_position"], before, after))
