#!/usr/bin/env bash
# Draws the verdict images at 1x and 2x (ImageMagick).
set -euo pipefail
cd "$(dirname "$0")"
draw() {  # name size
    local name=$1 size=$2 suffix=$3
    local s=$size c=$((size / 2)) r=$((size / 2 - size / 16)) w=$((size / 32 + 1))
    case $name in
    GreenCircle)
        convert -size ${s}x${s} xc:none -fill '#2f9e44' -stroke '#1e6f2f' -strokewidth $w \
            -draw "circle $c,$c $c,$((c - r))" "$name$suffix.png" ;;
    HalfGreenCircle)
        convert -size ${s}x${s} xc:none -fill '#d9dde1' -stroke '#1e6f2f' -strokewidth $w \
            -draw "circle $c,$c $c,$((c - r))" -stroke none -fill '#2f9e44' \
            -draw "path 'M $c,$((c - r + w)) A $((r - w)),$((r - w)) 0 0,0 $c,$((c + r - w)) Z'" \
            "$name$suffix.png" ;;
    SignificantLimitations)
        convert -size ${s}x${s} xc:none -fill '#e8590c' -stroke '#a63c05' -strokewidth $w \
            -draw "circle $c,$c $c,$((c - r))" -stroke none -fill white \
            -draw "roundrectangle $((c - s / 16)),$((c - r / 2 - s / 16)) $((c + s / 16)),$((c + r / 4)) $w,$w" \
            -draw "circle $c,$((c + r / 2)) $c,$((c + r / 2 + s / 16))" "$name$suffix.png" ;;
    esac
}
for name in GreenCircle HalfGreenCircle SignificantLimitations; do
    draw $name 48 ""
    draw $name 96 "@2x"
done
