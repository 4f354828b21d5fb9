#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/quarnel-setup.sh
cmake -S . -B build/run -DCMAKE_BUILD_TYPE=Release -DQUARNEL_BUILD_TESTS=OFF -DQUARNEL_BUILD_BENCH=OFF >/dev/null
cmake --build build/run -j"$(nproc)" --target quarnel
exec build/run/UFormMain/quarnel
