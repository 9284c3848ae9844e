#!/bin/sh
# each-line.sh FILE TOKEN: one tokloc call per line of FILE.
n=0
while IFS= read -r text; do
  n=$((n + 1))
  result=$(tokloc "$text" "$2")
  echo "$n: $? $result"
done < "$1"
