#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
# As root it runs apt-get; otherwise it prints the exact command and stops.
# `scripts/deps.sh windows` (make windows, make test-windows) adds the MinGW-w64 cross
# compiler, zlib for it, Wine to run the tests, and NSIS for the installer script.
set -euo pipefail
# fonts-ipafont-gothic: the Japanese characters the windows show ("～", the flagpole
# preview's "止"), in a gothic whose full-width characters are two half-widths wide.
# libretro-nestopia: the NES core Play and its tests run (it brings RetroArch along);
# retroarch-dev: its API header, libretro.h.
pkgs=(cmake ninja-build g++ make pkg-config qt6-base-dev libgl-dev libgtest-dev googletest
      libbenchmark-dev libcli11-dev nlohmann-json3-dev liblnk-dev libbfio-dev zlib1g-dev nettle-dev
      xvfb xauth clang-format ccache
      # make bench opens the dialogs on an Xvfb display of its own with a window manager,
      # pressing keys through XTest and watching paints through Damage.
      openbox libx11-dev libxtst-dev libxdamage-dev
      desktop-file-utils appstream shared-mime-info groff-base man-db dpkg-dev file fonts-ipafont-gothic
      clang libclang-rt-14-dev
      libretro-nestopia retroarch-dev libsdl2-dev qt6-multimedia-dev libpng-dev)
if [ "${1:-}" = windows ]; then
  # The cross build takes CLI11, nlohmann-json, libretro.h and GoogleTest's sources
  # from the packages above.
  pkgs=(cmake ninja-build make ccache libcli11-dev nlohmann-json3-dev retroarch-dev googletest
        g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev wine wine64 nsis)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
