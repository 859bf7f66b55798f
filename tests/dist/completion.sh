#!/usr/bin/env bash
# The bash completion of qorv, driven as bash drives it, with the built qorv first on PATH.
# Usage: completion.sh QORV_DIR COMPLETION_SCRIPT
set -uo pipefail
PATH=$1:$PATH
# shellcheck source=/dev/null
source "$2"
failed=0

# Completes the last word of the command line given and compares the offers.
expect() {
  local want=$1
  shift
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  _qorv
  local got
  got=$(printf '%s ' "${COMPREPLY[@]}")
  if [[ ${got% } != "$want" ]]; then
    echo "FAIL: qorv ${*:2}: got '${got% }', want '$want'" >&2
    failed=1
  fi
}

expect "info dump get set ips" qorv ""
expect "info ips" qorv i
expect "--help --version" qorv --
expect "EditMaWalk_R EditMaWalk_L" qorv get game.nes EditMaWa
expect "EditMaZanki=" qorv set game.nes EditMaZa
expect "EditMaZanki=" qorv set game.nes -o out.nes EditMaZa
expect "ChkMuteki1=checked ChkMuteki1=unchecked" qorv set game.nes ChkMuteki1=
expect "CmbFireShot=Never" qorv set game.nes CmbFireShot=N
expect "General\ 1 General\ 2" qorv dump game.nes --dialog Gen
expect "--json" qorv dump game.nes --j
expect "apply create show" qorv ips ""
expect "0 1 2 3 4" qorv ips apply p.ips b.nes --mode ""
expect "--output" qorv ips apply p.ips b.nes --o
expect "--mode" qorv ips apply p.ips b.nes --m
exit $failed
