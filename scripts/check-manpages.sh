#!/usr/bin/env bash
# Renders each manual page as man does, failing on any warning, and checks that every long
# option a program's --help lists is named in its page.
#   scripts/check-manpages.sh BIN_DIR     (the folder with orva, orva-cli and kivrel-sim)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$1

status=0
for program in orva orva-cli kivrel-sim; do
    page="$root/packaging/$program.1"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l -Tutf8 "$page" 2>&1 >/dev/null || true)
    warnings+=$(groff -man -ww -z -Tutf8 "$page" 2>&1 || true)
    if [ -n "$warnings" ]; then
        echo "$program.1: rendering warnings:" >&2
        echo "$warnings" >&2
        status=1
    fi
    # The page's words with the font escapes and escaped hyphens taken out.
    text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")
    missing=()
    for option in $("$bin/$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        grep -qe "$option\\b" <<<"$text" || missing+=("$option")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "$program.1: options of --help not in the page: ${missing[*]}" >&2
        status=1
    else
        echo "$program.1: renders without warnings; names every option of --help"
    fi
done
exit $status
