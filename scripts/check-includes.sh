#!/usr/bin/env bash
# Fails when a portable folder includes a Windows header or a header of a
# folder it may not use. Dependencies run one way:
#   util <- settings, watch <- app <- win32
set -euo pipefail
cd "$(dirname "$0")/../src"

declare -A allowed=(
  [util]="util"
  [settings]="util settings"
  [watch]="util watch"
  [app]="util settings watch app"
)
windows='^(win[a-z0-9_]*|commctrl|commdlg|imm|shellapi|shlobj|shlwapi|objbase|ole2|oleauto|tchar|uxtheme|dwmapi)\.h$'

status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r -d '' file; do
    while IFS= read -r line; do
      header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"$line")
      if grep -qiE "$windows" <<<"$header"; then
        echo "$file: includes the Windows header $header"
        status=1
      elif [[ "$header" == */* ]]; then
        top=${header%%/*}
        if [[ " ${allowed[$folder]} " != *" $top "* ]] && [ -d "$top" ]; then
          echo "$file: includes $header, but $folder may use only: ${allowed[$folder]}"
          status=1
        fi
      fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include' "$file" || true)
  done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' \) -print0)
done
[ "$status" -eq 0 ] && echo "include direction: every portable folder uses only the folders below it"
exit "$status"
