#!/usr/bin/env bash
# Renders the manual page as groff and man (as lintian calls it) do; any warning fails, and so
# does a configure variable left unfilled, a NAME line that does not fit 80 columns, or an option
# that the program's --help lists and the page does not.
# Usage: manual-page.sh PAGE PROGRAM
set -euo pipefail
page=$1
program=$2
for tool in groff man; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
warnings=$({
    groff -man -ww -z "$page"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" >/dev/null
} 2>&1)
[ -z "$warnings" ] || { echo "$warnings" >&2; exit 1; }
if grep -n '@[A-Za-z_]*@' "$page"; then
    echo "unfilled configure variables" >&2
    exit 1
fi
text=$(groff -man -Tascii -P-cbu "$page" 2>/dev/null)
status=0
# whatis and a terminal show the NAME line: whole on one line of 80 columns, so never hyphenated.
name=$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l -Tutf8 "$page" 2>/dev/null | col -b |
    sed -n '/^NAME$/,/^$/p' | sed '1d;/^$/d')
if [ "$(wc -l <<<"$name")" -ne 1 ]; then
    echo "the NAME line takes more than one line at 80 columns:" >&2
    echo "$name" >&2
    status=1
fi
for option in $("$program" --help | grep -oE '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,'); do
    grep -qe "$option" <<<"$text" || { echo "the page does not name $option" >&2; status=1; }
done
exit $status
