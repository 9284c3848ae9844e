#!/bin/sh
# Makes sure the locales the end-to-end cases run under exist. Generated
# locales are machine state that other installs can drop, so this runs
# before every test run and only builds what is missing.
#   make-locales.sh [PRIVATE_DIR]
# PRIVATE_DIR also gets locales of its own, for cases that run with
# LOCPATH pointing there.
set -e
need() {  # need NAME INPUT CHARSET
  canon=$(echo "$1" | tr 'A-Z' 'a-z' | sed 's/-//g')
  if locale -a 2>/dev/null | tr 'A-Z' 'a-z' | sed 's/-//g' | grep -qx "$canon"; then return 0; fi
  localedef -i "$2" -f "$3" "$1" 2>/dev/null || localedef -i "$2" -f "$3" "$1"
}
need de_DE.UTF-8 de_DE UTF-8
need de_DE.ISO-8859-1 de_DE ISO-8859-1
need ja_JP.UTF-8 ja_JP UTF-8
need en_US.UTF-8 en_US UTF-8
if [ -n "${1:-}" ]; then
  mkdir -p "$1"
  for charset in ISO-8859-1 UTF-8; do
    [ -d "$1/fr_FR.$charset" ] || localedef -i fr_FR -f "$charset" "$1/fr_FR.$charset" 2>/dev/null ||
      localedef -i fr_FR -f "$charset" "$1/fr_FR.$charset"
  done
fi
