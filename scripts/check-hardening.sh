#!/usr/bin/env bash
# Checks that each program given is built hardened: position independent, relocations read-only
# and bound at start (RELRO, BIND_NOW), the stack protector and fortified calls linked in.
#   scripts/check-hardening.sh PROGRAM...
set -euo pipefail

status=0
for program in "$@"; do
    problems=()
    readelf -h "$program" | grep -q 'Type:.*DYN' || problems+=("not position independent")
    readelf -lW "$program" | grep -q 'GNU_RELRO' || problems+=("no RELRO")
    readelf -dW "$program" | grep -Eq 'BIND_NOW|FLAGS_1.*NOW' || problems+=("no BIND_NOW")
    symbols=$(readelf --dyn-syms -W "$program" | awk '{print $8}')
    grep -q '^__stack_chk_fail' <<<"$symbols" || problems+=("no stack protector")
    fortified=$(grep -Ec '^__[a-z_]+_chk(@|$)' <<<"$symbols" || true)
    [ "$fortified" -gt 0 ] || problems+=("no fortified calls")
    if [ ${#problems[@]} -eq 0 ]; then
        echo "$(basename "$program"): PIE, RELRO, BIND_NOW, stack protector, $fortified fortified calls"
    else
        echo "$(basename "$program"): ${problems[*]}" >&2
        status=1
    fi
done
exit $status
