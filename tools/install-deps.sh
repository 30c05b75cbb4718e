#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# Usage: tools/install-deps.sh   (as root, or as a user who may run sudo)
set -euo pipefail

# qt6-base-dev: the Qt views and drawing surface; fonts-dejavu-core: a monospace font for the
# rulers to fall back on when "Courier New" is missing; hershey-fonts-data: the Hershey fonts the
# build turns into the stroke fonts of engraved text; clang with its runtime libraries of the same
# version (libFuzzer and the sanitizers): the fuzzing of the test command; qt6-translations-l10n:
# Qt's own dialogs and buttons in German.
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev fonts-dejavu-core
  hershey-fonts-data clang libclang-rt-dev qt6-translations-l10n)

missing=()
for p in "${packages[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
