#!/bin/sh
# locate.sh TEXT TOKEN [LENGTH]: where TOKEN stands in TEXT, by tokloc. One
# field a call: no character of a context can shift another field.
field() { tokloc --field="$1" "$text" "$token" "$length"; }
text=$1 token=$2 length=${3:-0}
pos=$(field position)
case $? in
  0) ;;
  76) echo "not found"; exit 0 ;;
  *) echo "tokloc could not write its result" >&2; exit 2 ;;
esac
echo "pos=$pos after=$(field after_position) before=[$(field before)] behind=[$(field after)]"
