#!/usr/bin/env bash
# qorv built for Windows, run under Wine, must print and write exactly what the Linux
# build does on the same inputs: info, dump --json, changes and diff on random and
# edited images, ips create, and set / ips create on files named in Japanese.
# Usage: same-output.sh LINUX_QORV WINDOWS_QORV_EXE WINE_RUN
# Inputs are random on each run; a failing run keeps its folder and says where.
set -euo pipefail
linux=$(realpath "$1") windows=$(realpath "$2") wine=$(realpath "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/qv-same-output.XXXXXX")
mkdir "$work/linux" "$work/windows"
cd "$work"
failures=0

# Bytes at literal offsets: offset (decimal) and byte (hex), in place.
poke() {
  printf "\\x$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none
}

# The inputs, shared by both runs: zeros, random bytes with and without a trainer,
# and each edited at a few parameters and a few bytes no parameter names.
head -c 40976 /dev/zero >zero.nes
head -c 40976 /dev/urandom >random.nes
head -c 41488 /dev/urandom >trainer.nes
cp zero.nes zero-edited.nes
poke zero-edited.nes $((0x107A)) 06 # lives
poke zero-edited.nes $((0x3454)) 28 # walking speed, right
poke zero-edited.nes 40000 5A
cp random.nes random-edited.nes
poke random-edited.nes $((0x3451)) 30
poke random-edited.nes 100 00
poke random-edited.nes 40975 FF
cp trainer.nes trainer-edited.nes
poke trainer-edited.nes $((0x107A + 512)) 02
# "マリオ.nes": a name in Japanese, then its edit and patch under Japanese names too.
cp random.nes "マリオ.nes"

# Runs one command line with both programs, each in its own folder (outputs are
# written there), and compares exit status, standard output and every file made.
same() {
  local name=$1
  shift
  local status
  (cd linux && "$linux" "$@" >"../linux/$name.out" 2>"../linux/$name.err" && echo 0 || echo $?) \
    >"linux/$name.status"
  (cd windows && "$wine" "$windows" "$@" >"../windows/$name.out" 2>"../windows/$name.err" &&
    echo 0 || echo $?) >"windows/$name.status"
  if cmp -s "linux/$name.status" "windows/$name.status" && cmp -s "linux/$name.out" "windows/$name.out"
  then
    status=$(cat "linux/$name.status")
    echo "same: qorv $* (exit $status, $(wc -c <"linux/$name.out") bytes)"
  else
    echo "DIFFERENT: qorv $*" >&2
    diff "linux/$name.status" "windows/$name.status" >&2 || true
    diff "linux/$name.out" "windows/$name.out" | head -20 >&2 || true
    failures=$((failures + 1))
  fi
}

# The files a command wrote, compared byte for byte.
same_file() {
  if cmp "linux/$1" "windows/$1"; then
    echo "same: $1 ($(wc -c <"linux/$1") bytes)"
  else
    echo "DIFFERENT: $1" >&2
    failures=$((failures + 1))
  fi
}

for image in zero zero-edited random random-edited trainer trainer-edited; do
  same "info-$image" info "../$image.nes"
  same "dump-$image" dump --json "../$image.nes"
  same "changes-$image" changes "../$image.nes"
  same "changes-json-$image" changes --json "../$image.nes"
done
for pair in "zero zero-edited" "random random-edited" "trainer trainer-edited" "zero random"; do
  set -- $pair
  same "diff-$1-$2" diff "../$1.nes" "../$2.nes"
  same "diff-json-$1-$2" diff --json "../$1.nes" "../$2.nes"
  same "ips-$1-$2" ips create "../$1.nes" "../$2.nes" -o "$1-$2.ips"
  same_file "$1-$2.ips"
  same "ips-show-$1-$2" ips show "$1-$2.ips"
done

same info-japanese info "../マリオ.nes"
same set-japanese set "../マリオ.nes" EditMaZanki=9 EditMaWalk_R=40 -o "改造.nes"
same_file "改造.nes"
same get-japanese get "改造.nes" EditMaZanki EditMaWalk_R
same ips-japanese ips create "../マリオ.nes" "改造.nes" -o "パッチ.ips"
same_file "パッチ.ips"
same apply-japanese ips apply "パッチ.ips" "../マリオ.nes" -o "適用.nes"
same_file "適用.nes"

if [ "$failures" -ne 0 ]; then
  echo "$failures outputs differ between Linux and Windows; the files are in $work" >&2
  exit 1
fi
rm -rf "$work"
echo "Linux and Windows outputs are the same"
