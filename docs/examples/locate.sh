#!/bin/sh
# locate.sh TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc.
# The exit code first: the result line goes to standard output as it is.
tokloc "$1" "$2" "${3:-0}"
case $? in
  0) ;;
  76) echo "not found"; exit 0 ;;
  217) echo "tokloc could not write its result" >&2; exit 2 ;;
  *) echo "tokloc showed its help" >&2; exit 1 ;;
esac
# Split on "|": read keeps empty fields, and the CR of the line end lands
# in the last variable.
line=$(tokloc "$1" "$2" "${3:-0}")
IFS='|' read -r found pos after len before behind rest <<EOF2
$line
EOF2
echo "found=$found pos=$pos after=$after len=$len before=[$before] behind=[$behind]"
