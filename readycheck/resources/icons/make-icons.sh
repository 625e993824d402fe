#!/usr/bin/env bash
# Renders the application icon's PNG sizes from its SVG (GdkPixbuf's SVG loader).
set -euo pipefail
cd "$(dirname "$0")/hicolor"
id=org.readycheck.ReadyCheck
for size in 48 128 256; do
    mkdir -p "${size}x${size}/apps"
    gdk-pixbuf-thumbnailer -s "$size" "scalable/apps/$id.svg" "${size}x${size}/apps/$id.png"
done
