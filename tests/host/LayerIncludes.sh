#!/usr/bin/env bash
# Each layer of src/ includes only itself and the layers below it:
# gfx <- windows <- sign <- actors <- app.
set -euo pipefail
source_dir=$1
layers=(gfx windows sign actors app)
rank() {
  local i
  for i in "${!layers[@]}"; do
    [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }
  done
  echo -1
}
status=0
for layer in "${layers[@]}"; do
  own=$(rank "$layer")
  while IFS=: read -r file line text; do
    used=${text#*\"}
    used=${used%%/*}
    used_rank=$(rank "$used")
    if [ "$used_rank" -gt "$own" ]; then
      echo "$file:$line: $layer reaches up to $used" >&2
      status=1
    fi
  done < <(grep -rn '^#include "[a-z]*/' "$source_dir/src/$layer" || true)
done
exit $status
