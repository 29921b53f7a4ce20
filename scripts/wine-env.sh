# Sourced by the Wine scripts: the private prefix and the environment every
# Wine process of the build and the tests runs with.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="${TOVO_WINEPREFIX:-$root/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe="
# Non-ASCII file names only survive under a UTF-8 locale.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
export TOVO_WINE_DRIVES="$root/build/wine-drives"
