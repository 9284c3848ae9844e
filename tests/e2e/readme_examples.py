#!/usr/bin/env python3
"""Fails when the README does not show each file of docs/examples verbatim,
in a fenced block of its kind (```bat or ```sh). Line ends aside: the .bat
files keep CR LF.

usage: readme_examples.py REPO_ROOT
"""
import os
import re
import sys

root = sys.argv[1]
readme = open(os.path.join(root, "README.md"), encoding="utf-8").read()
blocks = re.findall(r"^```(\w+)\n(.*?)^```$", readme, re.S | re.M)
folder = os.path.join(root, "docs", "examples")
names = sorted(os.listdir(folder))
failed = 0
for name in names:
    kind = os.path.splitext(name)[1][1:]
    text = open(os.path.join(folder, name), encoding="utf-8", newline="").read().replace("\r\n", "\n")
    if (kind, text) not in blocks:
        failed += 1
        print("FAIL the README does not show docs/examples/%s as it is" % name)
print("%d passed, %d failed" % (len(names) - failed, failed))
sys.exit(1 if failed or not names else 0)
