# Sourced by the scripts that run Wine. Debian's wine wrapper prefers Wine's
# 32-bit loader whenever wine32 is installed; on a machine whose kernel runs
# no 32-bit programs that loader fails at once. There the 64-bit loader is
# put first on PATH (it runs the x86_64 build; the i686 build cannot run).

# True when this machine can run Wine's 32-bit loader.
wine32_runs() {
  [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

if [ -x /usr/lib/wine/wine ] && [ -x /usr/lib/wine/wine64 ] && ! wine32_runs; then
  _wine_shim=/tmp/dirmind-wine64-bin
  mkdir -p "$_wine_shim"
  for _name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' > "$_wine_shim/$_name"
    chmod +x "$_wine_shim/$_name"
  done
  export PATH="$_wine_shim:$PATH" WINELOADER=/usr/lib/wine/wine64
  unset _wine_shim _name
fi
