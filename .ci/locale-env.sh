# A UTF-8 locale for the test run, whatever the caller's environment: a fresh machine may set
# none (no LANG, or LANG=C), and then Wine maps the Windows names of files to Unix ones through
# ASCII, so that a name with "é" cannot be made; the Linux tests name files beyond ASCII too.
# A caller's UTF-8 locale is kept; else the run takes C.UTF-8, which Debian always has.
# usage:  . .ci/locale-env.sh; utf8_locale
utf8_locale() {
  [ "$(locale charmap 2>/dev/null)" = UTF-8 ] && return 0
  export LC_ALL=C.UTF-8
  unset LANGUAGE
  [ "$(locale charmap 2>/dev/null)" = UTF-8 ] || { echo "no UTF-8 locale (C.UTF-8) on this machine" >&2; return 1; }
}
