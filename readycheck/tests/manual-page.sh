#!/usr/bin/env bash
# Renders the manual page as groff and man (as lintian calls it) do; any warning fails, and so
# does a configure variable left unfilled.
# Usage: manual-page.sh PAGE
set -euo pipefail
page=$1
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
