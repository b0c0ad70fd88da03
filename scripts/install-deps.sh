#!/usr/bin/env bash
# Installs the Debian packages the project needs, skipping what is already there.
# Usage: scripts/install-deps.sh run|test|bench
set -euo pipefail

# The OpenGL render device loads GL through libepoxy; Mesa's software
# rasteriser gives it a GL under Xvfb. FreeType builds the font maker
# (zozud-font); DejaVu Sans is what the default fonts in Fonts/ are made from
# (scripts/make-fonts.sh).
run_pkgs="build-essential cmake ninja-build pkg-config libgtk2.0-dev libx11-dev
  libgtest-dev libbenchmark-dev xvfb xauth libepoxy-dev libgl1-mesa-dri
  libfreetype-dev fonts-dejavu-core"
# Tests also use independent libraries as references (GLM for math, libsquish
# for DXT decoding, pugixml, stb) and real tools (xdotool, ImageMagick, nvidia
# texture tools for DDS, a browser; locales gives localedef and the locale
# sources for the comma-decimal locale test).
test_pkgs="$run_pkgs xdotool imagemagick curl wrk apache2-utils clang libclang-rt-14-dev
  chromium x11-utils x11-xserver-utils procps
  libglm-dev libsquish-dev libstb-dev libpugixml-dev libtinyxml2-dev libnvtt-bin locales mesa-utils"

# Benchmarks measure beside the same reference libraries, tinyobjloader and
# Dear ImGui (its OpenGL 3 backend and text drawing); the DXT benchmark
# encodes a real photograph shipped with matplotlib's data
# (sample_data/grace_hopper.jpg).
bench_pkgs="$test_pkgs libtinyobjloader-dev libimgui-dev python-matplotlib-data"

case "${1:-test}" in
  run)   want=$run_pkgs ;;
  bench) want=$bench_pkgs ;;
  *)     want=$test_pkgs ;;
esac

missing=()
for p in $want; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
