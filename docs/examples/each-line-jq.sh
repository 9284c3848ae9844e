#!/bin/sh
# each-line-jq.sh FILE TOKEN: every line of FILE that holds TOKEN, as JSON
# taken apart by jq (a byte that is no text shows as U+FFFD there).
tokloc --lines --found-only --json "$2" < "$1" |
  jq -j '"\(.line): \(.position)-\(.after_position) [\(.before)] [\(.after)]\n"'
