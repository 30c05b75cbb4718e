#!/usr/bin/env bash
# Fails when a file of the core folders (outside their qt/ subfolders) includes a Qt header or
# when a core CMakeLists asks for the Qt package.
set -euo pipefail
root=${1:?source folder}
cd "$root"
hits=$(grep -rnE '^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/)' platform panel machine app formats download fonts \
         --include='*.h' --include='*.hpp' --include='*.cpp' 2>/dev/null | grep -v '/qt/' || true)
cmake_hits=$(grep -rn 'find_package(Qt' platform panel machine app formats download fonts --include=CMakeLists.txt \
         2>/dev/null | grep -v '/qt/' || true)
if [ -n "$hits$cmake_hits" ]; then
  echo "Qt used in core files:"
  echo "$hits"
  echo "$cmake_hits"
  exit 1
fi
echo "core folders are free of Qt"
