#!/usr/bin/env bash
# Installs what is missing, builds the programs and starts veltris (the Qt main window) with the
# given arguments. The firmware download utility ranvik is built beside it, into the folder
# "Firmware" where veltris's firmware menu finds it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/tools/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRIS_QT=ON >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target veltris ranvik
exec "$root/build/release/app/qt/veltris" "$@"
