#!/bin/sh
# parallel.sh FILE TOKEN: the --lines job on every core, by GNU parallel in
# blocks of 100,000 lines (of up to 64 MB); each block numbers its lines
# from where it starts, so the output is one process's, line numbers and
# all.
TOKEN=$2 parallel --pipe -N 100000 --block 64M --keep-order \
  'tokloc --lines --found-only --line-number --first-line=$(( ({#} - 1) * 100000 + 1 )) "$TOKEN"' < "$1"
