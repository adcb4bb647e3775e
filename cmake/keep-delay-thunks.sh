#!/usr/bin/env bash
# Linker launcher of the i686 build: runs the link command given after "--" with
# one --undefined=<stub> per delay-loaded function that the linked objects call.
#   keep-delay-thunks.sh NM DELAY_LIBRARY_FOLDER -- LINK COMMAND...
#
# Why: GNU ld for i386 PE drops the jump stub of an import library member when
# the only references are to its __imp_ slot (what __declspec(dllimport) calls
# through). In a delay import library that stub is also the loading thunk the
# slot points to, so dropping it leaves the slot 0 in the file and the first
# call jumps to address 0. Marking the stub undefined keeps it. The x86_64 ld
# has no such pass.
set -euo pipefail
export LC_ALL=C  # join needs the order sort gives
nm=$1 delay_folder=$2
shift 2
[ "$1" = "--" ] && shift

# The objects and libraries of the link (the delay libraries among them leave
# no __imp_ name undefined).
inputs=()
for argument in "$@"; do
  case $argument in
    *.obj|*.o|*.a) [ -f "$argument" ] && inputs+=("$argument") ;;
  esac
done

keep=()
if [ ${#inputs[@]} -gt 0 ]; then
  # __imp__Name@n called by our objects, matched against the stubs _Name@n that
  # the delay import libraries define.
  mapfile -t keep < <(
    join <("$nm" -u "${inputs[@]}" 2>/dev/null | awk '$1 == "U" && $2 ~ /^__imp_/ {print substr($2, 7)}' | sort -u) \
         <("$nm" --defined-only "$delay_folder"/*_delay.a 2>/dev/null | awk '$2 == "T" {print $3}' | sort -u) \
      | sed 's/^/-Wl,--undefined=/')
fi
exec "$@" "${keep[@]}"
