#!/usr/bin/env bash
# Every key of the English string table has a text in every translation and the other way
# round, none empty, each with as many "%@" as the English one; every translatable text of the
# interface file is a key; every translation is compiled in.
# Usage: string-tables.sh RESOURCES_DIR
set -euo pipefail
resources=$1
# One "key placeholders" line a key, sorted; fails on an empty text.
table() {
    awk '/^[^#[][^=]*=/ {
            i = index($0, "="); key = substr($0, 1, i - 1); text = substr($0, i + 1)
            if (text == "") { print FILENAME ": empty text: " key > "/dev/stderr"; bad = 1 }
            print key, gsub(/%@/, "", text)
        }
        END { exit bad }' "$1" | LC_ALL=C sort
}
table "$resources/Localizable.strings" >/dev/null
status=0
translations=("$resources"/translations/*.strings)
[ -e "${translations[0]}" ] || { echo "no translations" >&2; exit 1; }
for translation in "${translations[@]}"; do
    name=${translation#"$resources"/}
    echo "$name"
    table "$translation" >/dev/null || status=1
    if ! diff <(table "$resources/Localizable.strings") <(table "$translation"); then
        echo "$name differs from Localizable.strings in keys or placeholders (< English, > $name)" >&2
        status=1
    fi
    grep -q "<file>$name</file>" "$resources/readycheck.gresource.xml" ||
        { echo "$name is not in the resources" >&2; status=1; }
done
missing=$(LC_ALL=C comm -23 \
    <(sed -n 's/.*translatable="yes">\([^<]*\)<.*/\1/p' "$resources/ReadyCheck.ui" | LC_ALL=C sort -u) \
    <(table "$resources/Localizable.strings" | cut -d' ' -f1))
[ -z "$missing" ] || { echo "interface texts that are no keys: $missing" >&2; status=1; }
exit $status
