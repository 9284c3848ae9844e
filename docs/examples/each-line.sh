#!/bin/sh
# each-line.sh FILE TOKEN: one tokloc process searches every line of FILE
# and writes one result line for each, in order.
results=$(tokloc --lines "$2" < "$1")
case $? in
  0) ;;
  76) echo "no line holds the token" ;;
  217) echo "tokloc could not write its result" >&2; exit 2 ;;
  *) echo "tokloc showed its help" >&2; exit 1 ;;
esac
# read keeps empty fields; the CR of each line end lands in the last
# variable.
n=0
[ -n "$results" ] && printf '%s\n' "$results" |
while IFS='|' read -r found pos after len before behind rest; do
  n=$((n + 1))
  echo "$n: $found pos=$pos before=[$before] behind=[$behind]"
done
exit 0
