#!/bin/sh
# positions.sh TEXT TOKEN: only the fields needed; the last variable takes
# the rest, so a "|" in the context cannot shift them.
IFS='|' read -r found pos after rest <<EOF2
$(tokloc "$1" "$2")
EOF2
echo "$found: token at $pos, text after it at $after"
