#!/usr/bin/env bash
# Installs what is missing, builds the program and starts veltris (the Qt main window) with the
# given arguments.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRIS_QT=ON >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target veltris
exec "$root/build/release/app/qt/veltris" "$@"
