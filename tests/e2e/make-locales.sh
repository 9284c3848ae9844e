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
  private() {  # private NAME INPUT CHARSET [OPTION]
    [ -d "$1/$2" ] && return 0
    localedef $5 -i "$3" -f "$4" "$1/$2" 2>/dev/null || localedef $5 -i "$3" -f "$4" "$1/$2"
  }
  private "$1" fr_FR.ISO-8859-1 fr_FR ISO-8859-1
  private "$1" fr_FR.UTF-8 fr_FR UTF-8
  private "$1" zh_CN.GB18030 zh_CN GB18030
  private "$1" ru_RU.KOI8-R ru_RU KOI8-R
  # Shift_JIS puts other characters at two ASCII bytes; localedef says so
  # and makes the locale all the same when told to.
  private "$1" ja_JP.SJIS ja_JP SHIFT_JIS "-c --no-warnings=ascii"
fi
