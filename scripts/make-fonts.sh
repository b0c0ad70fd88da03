#!/usr/bin/env bash
# Makes the framework's default bitmap fonts (the names it asks for) from
# DejaVu Sans (Debian's fonts-dejavu-core) with zozud-font, into Fonts/ at the
# top of the source tree. The results are committed, so a fresh checkout
# draws text; run this again after changing the font maker.
# Usage: scripts/make-fonts.sh [BUILD_DIR]   (default build/Debug)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/Debug}
cmake --build "$build" --target zozud-font >/dev/null
tool="$build/zozud-font"
dejavu=/usr/share/fonts/truetype/dejavu
chars=32-126,160-255

"$tool" "Tahoma 8"   --from "$dejavu/DejaVuSans.ttf"      --size 11 --chars "$chars" --out .
"$tool" "Tahoma B8"  --from "$dejavu/DejaVuSans-Bold.ttf" --size 11 --chars "$chars" --out .
"$tool" "Calibri 11" --from "$dejavu/DejaVuSans.ttf"      --size 15 --chars "$chars" --out .
