#!/bin/sh
# occurrences.sh TOKEN FILE...: every occurrence of TOKEN in the FILEs,
# every line and more than one a line, by one tokloc process: the file,
# the line and the position. The two numbers are the last two fields, so
# a "|" in a file's name shifts nothing.
results=$(tokloc --files --all --found-only --line-number --field=position "$@")
code=$? status=0
case $code in
  0) ;;
  76) echo "no line holds the token"; exit 0 ;;
  66) echo "a file could not be read; the others were searched" >&2; status=1 ;;
  *) echo "tokloc could not write its result" >&2; exit 2 ;;
esac
[ -n "$results" ] || exit $status
LC_ALL=C
printf '%s\n' "$results" | while IFS= read -r result; do
  name=${result%|*|*}
  numbers=${result#"$name|"}
  printf '%s: line %s, position %s\n' "$name" "${numbers%|*}" "${numbers#*|}"
done
exit $status
