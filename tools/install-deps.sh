#!/usr/bin/env bash
# Installs every Debian package Quorvane needs to build, test, benchmark and run.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
    g++ cmake make pkg-config
    qtbase5-dev libqt5svg5-dev libqt5opengl5-dev libqwt-qt5-dev
    libzip-dev zlib1g-dev libdeflate-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    zip unzip xvfb xauth
    python3-pyatspi at-spi2-core dbus-daemon  # tests/ui/atspi_check.py drives the window by AT-SPI
    # The install check and the Debian package: the desktop entry, MIME XML, AppStream
    # metainfo and man pages are validated, the shell completion loaded by bash-completion,
    # dpkg-shlibdeps finds the package's dependencies and lintian checks the package.
    desktop-file-utils libxml2-utils shared-mime-info man-db dpkg-dev binutils
    appstream bash-completion lintian
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get install -y --no-install-recommends "${missing[@]}" || {
    $sudo apt-get update
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}
