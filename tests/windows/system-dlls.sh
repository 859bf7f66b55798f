#!/usr/bin/env bash
# A Windows program of the cross build asks for no DLL but the system's own: the
# C++ runtime, threads and zlib are linked in, so qorv.exe runs alone from its zip.
set -euo pipefail
objdump=$1 exe=$2
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "$exe imports:" $dlls
status=0
for dll in $dlls; do
  case $dll in
    kernel32.dll | user32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | \
    bcrypt.dll | windowscodecs.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll | \
    api-ms-win-core-*.dll | shlwapi.dll) ;;
    *) echo "not a system DLL: $dll" >&2; status=1 ;;
  esac
done
exit $status
