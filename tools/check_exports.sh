#!/usr/bin/env bash
# Checks that every module file in a gauges folder exports exactly Linkage and
# ImportTable. Usage: check_exports.sh GAUGES_DIR native|win32
set -euo pipefail
dir=$1 kind=$2
modules=(Zorvane Quistral Brevolin Tavonne Ilvarra engine)
status=0 checked=0
for module in "${modules[@]}"; do
  if [[ $kind == native ]]; then
    file=$dir/$module.so
    [[ -f $file ]] || continue
    exports=$(nm -D --defined-only "$file" | awk '{print $3}' | sort | tr '\n' ' ')
  else
    file=$dir/$module.gau
    [[ -f $file ]] || continue
    exports=$(i686-w64-mingw32-objdump -p "$file" |
      sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | grep -o '[A-Za-z_][A-Za-z0-9_@]*$' | grep -v '^Table$' | sort | tr '\n' ' ')
  fi
  checked=$((checked + 1))
  if [[ $exports == "ImportTable Linkage " ]]; then
    echo "exports ok: $file"
  else
    echo "exports WRONG: $file exports: $exports"
    status=1
  fi
done
echo "$checked module files checked"
exit $status
