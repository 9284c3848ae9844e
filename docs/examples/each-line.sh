#!/bin/sh
# each-line.sh FILE TOKEN [FIELD]: one tokloc process searches every line
# of FILE; each line that holds TOKEN gives its number and FIELD (by
# default the text after the token) exactly, whatever characters it holds.
if [ -d "$1" ] || [ ! -r "$1" ]; then
  echo "each-line.sh: cannot read $1" >&2
  exit 2
fi
results=$(tokloc --lines --found-only --line-number --field="${3:-after}" "$2" < "$1")
case $? in
  0) ;;
  76) echo "no line holds the token"; exit 0 ;;
  *) echo "tokloc could not read the file or write its result" >&2; exit 2 ;;
esac
# The number ends at the first "|"; the rest of the line is the field.
# Bytes, not characters: bash's read in a UTF-8 locale runs on past the
# end of a line whose last byte is no text.
LC_ALL=C
printf '%s\n' "$results" | while IFS= read -r result; do
  printf '%s: [%s]\n' "${result%%|*}" "${result#*|}"
done
