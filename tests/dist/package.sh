#!/usr/bin/env bash
# make package's .deb, built by CPack into a temporary folder from the binaries
# already built, then unpacked and run.
# Usage: package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log" >&2; fail "cpack"; }
arch=$(dpkg --print-architecture)
deb=$out/quorvane_${version}_${arch}.deb
[[ -f $deb ]] || fail "no $deb: $(ls "$out")"

[[ $(dpkg-deb -f "$deb" Package) == quorvane ]] || fail "Package"
[[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "Version"
depends=$(dpkg-deb -f "$deb" Depends)
# dpkg-shlibdeps found the libraries, the Play module's sound and pads among them; the
# font is added by name.
for dep in fonts-ipafont-gothic libc6 libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 \
  libqt6multimedia6 libsdl2-2.0-0; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] ||
    fail "Depends lacks $dep: $depends"
done

# The Play window's core is opened at run time: the package recommends it by name.
recommends=$(dpkg-deb -f "$deb" Recommends)
[[ ", $recommends," == *", libretro-nestopia,"* ]] || fail "Recommends lacks libretro-nestopia: $recommends"

root=$out/root
dpkg-deb -x "$deb" "$root"
[[ -n $(find "$root/usr/lib" -path '*/quorvane/quorvane-playio.so') ]] || fail "package lacks quorvane-playio.so"
for f in usr/bin/quorvane usr/bin/qorv usr/share/applications/quorvane.desktop \
  usr/share/metainfo/quorvane.metainfo.xml usr/share/mime/packages/quorvane.xml \
  usr/share/man/man1/quorvane.1 usr/share/man/man1/qorv.1 \
  usr/share/icons/hicolor/scalable/apps/quorvane.svg \
  usr/share/icons/hicolor/16x16/apps/quorvane.png usr/share/icons/hicolor/256x256/apps/quorvane.png \
  usr/share/bash-completion/completions/qorv usr/share/zsh/vendor-completions/_qorv; do
  [[ -f $root/$f ]] || fail "package lacks /$f"
done

qorv=$root/usr/bin/qorv
[[ $("$qorv" --version) == "qorv $version" ]] || fail "qorv --version"
[[ $("$root/usr/bin/quorvane" --version) == "quorvane $version" ]] || fail "quorvane --version"
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/quorvane.metainfo.xml" ||
  fail "metainfo release"

# A synthetic image: zeros, with 4 at 0x107A (lives, stored one less than shown).
game=$out/game.nes
head -c 40976 /dev/zero >"$game"
printf '\x04' | dd of="$game" bs=1 seek=$((0x107A)) conv=notrunc status=none
[[ $("$qorv" get "$game" EditMaZanki) == "EditMaZanki=5" ]] || fail "qorv get"
dump=$("$qorv" dump "$game" --dialog Mario) || fail "qorv dump"
grep -q EditMaZanki <<<"$dump" || fail "qorv dump lists no EditMaZanki"
echo "package: ok"
