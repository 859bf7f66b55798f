#!/usr/bin/env bash
# make install into a temporary root: exactly the listed files, each valid, and an
# uninstall that takes them all away again.
# Usage: install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1 version=$2
root=$(mktemp -d)
manifest=$build/install_manifest.txt
saved=""
if [[ -f $manifest ]]; then
  saved=$(mktemp)
  cp "$manifest" "$saved"
fi
cleanup() {
  rm -rf "$root" "$root.mime"
  # A real install's manifest stays what it was.
  if [[ -n $saved ]]; then mv "$saved" "$manifest"; else rm -f "$manifest"; fi
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null

# The Play window's module goes into the library folder the build was configured with.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
expected="usr/bin/qorv
usr/bin/quorvane
usr/$libdir/quorvane/quorvane-playio.so
usr/share/applications/quorvane.desktop
usr/share/bash-completion/completions/qorv
usr/share/icons/hicolor/128x128/apps/quorvane.png
usr/share/icons/hicolor/16x16/apps/quorvane.png
usr/share/icons/hicolor/24x24/apps/quorvane.png
usr/share/icons/hicolor/256x256/apps/quorvane.png
usr/share/icons/hicolor/32x32/apps/quorvane.png
usr/share/icons/hicolor/48x48/apps/quorvane.png
usr/share/icons/hicolor/64x64/apps/quorvane.png
usr/share/icons/hicolor/scalable/apps/quorvane.svg
usr/share/man/man1/qorv.1
usr/share/man/man1/quorvane.1
usr/share/metainfo/quorvane.metainfo.xml
usr/share/mime/packages/quorvane.xml
usr/share/zsh/vendor-completions/_qorv"
actual=$(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
[[ $actual == "$expected" ]] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
[[ -x $root/usr/bin/qorv && -x $root/usr/bin/quorvane ]] || fail "programs not executable"

# Both programs and the metainfo release carry the project version.
[[ $("$root/usr/bin/qorv" --version) == "qorv $version" ]] || fail "qorv --version"
[[ $("$root/usr/bin/quorvane" --version) == "quorvane $version" ]] || fail "quorvane --version"
grep -q "<release version=\"$version\" date=\"[0-9]\{4\}-[0-9][0-9]-[0-9][0-9]\"/>" \
  "$root/usr/share/metainfo/quorvane.metainfo.xml" || fail "metainfo release"

# The editor starts without the sound and pad libraries; the module finds all of its own.
if ldd "$root/usr/bin/quorvane" | grep -E 'libSDL2|libQt6Multimedia'; then
  fail "quorvane links Play's sound or pad library"
fi
out=$(ldd "$root/usr/$libdir/quorvane/quorvane-playio.so") || fail "ldd quorvane-playio.so"
grep -q libSDL2 <<<"$out" && grep -q libQt6Multimedia <<<"$out" || fail "quorvane-playio.so: $out"
if grep 'not found' <<<"$out"; then fail "quorvane-playio.so lacks a library"; fi

# The desktop entry and the metainfo pass their validators without a remark.
out=$(desktop-file-validate "$root/usr/share/applications/quorvane.desktop" 2>&1) ||
  fail "desktop-file-validate: $out"
[[ -z $out ]] || fail "desktop-file-validate: $out"
grep -qx 'Exec=quorvane %F' "$root/usr/share/applications/quorvane.desktop" || fail "Exec"
grep -qx 'MimeType=application/x-nes-rom;application/x-ips-patch;' \
  "$root/usr/share/applications/quorvane.desktop" || fail "MimeType"
out=$(appstreamcli validate --no-net --no-color "$root/usr/share/metainfo/quorvane.metainfo.xml" 2>&1) ||
  fail "appstreamcli: $out"

# The MIME package builds (in a copy), with the glob and the magic of IPS patches.
mime=$root.mime
mkdir -p "$mime"
cp -r "$root/usr/share/mime/packages" "$mime/"
update-mime-database "$mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -qx '50:application/x-ips-patch:\*.ips' "$mime/globs2" || fail "IPS glob"
grep -aq 'PATCH' "$mime/magic" || fail "IPS magic"
grep -qx 'application/x-ips-patch' "$mime/types" || fail "IPS type"
rm -rf "$mime"

# Manual pages render without a single warning.
for page in quorvane qorv; do
  f=$root/usr/share/man/man1/$page.1
  out=$(groff -ww -z -man "$f" 2>&1) || fail "groff $page: $out"
  [[ -z $out ]] || fail "groff $page: $out"
  out=$(MANWIDTH=80 man -l "$f" 2>&1 >/dev/null) || fail "man -l $page: $out"
  [[ -z $out ]] || fail "man -l $page: $out"
  grep -q "Quorvane $version" "$f" || fail "$page version"
done
# qorv(1) names every command, option and dialog the tool has.
plain() { groff -man -Tascii -P-bcou -rLL=200n -rHY=0 "$1" 2>/dev/null; }
text=$(plain "$root/usr/share/man/man1/qorv.1")
for word in "info GAME" "dump GAME" "get GAME" "set GAME" "ips apply" "ips create" "ips show" \
  --json --dialog --output --mode --help --version "EXIT STATUS" QUORVANE_INI XDG_CONFIG_HOME; do
  grep -qF -- "$word" <<<"$text" || fail "qorv(1) lacks $word"
done
while IFS= read -r dialog; do
  grep -qF -- "$dialog" <<<"$text" || fail "qorv(1) lacks the dialog $dialog"
done < <("$root/usr/bin/qorv" --complete dialogs)
text=$(plain "$root/usr/share/man/man1/quorvane.1")
for word in --help --version "EXIT STATUS" QUORVANE_INI XDG_CONFIG_HOME Emulator %f .ips; do
  grep -qF -- "$word" <<<"$text" || fail "quorvane(1) lacks $word"
done

# Each PNG is square at its folder's size (width and height from the IHDR chunk).
for s in 16 24 32 48 64 128 256; do
  f=$root/usr/share/icons/hicolor/${s}x${s}/apps/quorvane.png
  [[ $(od -An -tx1 -N8 "$f" | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$s: not a PNG"
  [[ $(od -An -tu4 --endian=big -j16 -N8 "$f" | xargs) == "$s $s" ]] || fail "$s: wrong size"
done
grep -q '<svg' "$root/usr/share/icons/hicolor/scalable/apps/quorvane.svg" || fail "SVG"

# Uninstall removes every file the install wrote.
DESTDIR=$root cmake -DMANIFEST="$manifest" -P "$(dirname "$0")/../../cmake/uninstall.cmake" >/dev/null
left=$(find "$root" -type f)
[[ -z $left ]] || fail "left after uninstall: $left"
echo "install: ok"
