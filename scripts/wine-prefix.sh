#!/usr/bin/env bash
# Creates the private Wine prefix once (build/wineprefix): real folders instead
# of the links to $HOME, test drives, the shell folders, Chinese font
# replacements and no window-manager close delay. Later runs reuse it.
set -euo pipefail
. "$(dirname "$0")/wine-env.sh"
stamp="$WINEPREFIX/.tovo-ready"
[ -f "$stamp" ] && exit 0
mkdir -p "$(dirname "$WINEPREFIX")"
exec 9>"$WINEPREFIX.lock"
flock 9
[ -f "$stamp" ] && exit 0

wineboot -i >/dev/null 2>&1 || true
wineserver -w
U=$(whoami)
# The user folders are links to $HOME after wineboot: a shredding test on
# "Desktop" would reach the real home folder. Make them plain folders.
for d in Desktop Documents Downloads Music Pictures Videos Templates; do
  p="$WINEPREFIX/drive_c/users/$U/$d"
  if [ -L "$p" ]; then rm "$p"; mkdir "$p"; fi
done

T="$TOVO_WINE_DRIVES"
mkdir -p "$T/cd" "$T/floppy" "$T/net"
printf 'TESTCD\n' > "$T/cd/.windows-label"; printf '0badf00d\n' > "$T/cd/.windows-serial"
printf 'MYDISK\n' > "$WINEPREFIX/drive_c/.windows-label"
printf '1234abcd\n' > "$WINEPREFIX/drive_c/.windows-serial"
ln -sfn "$T/cd" "$WINEPREFIX/dosdevices/d:"
ln -sfn "$T/missing" "$WINEPREFIX/dosdevices/e:"
ln -sfn "$T/floppy" "$WINEPREFIX/dosdevices/a:"
ln -sfn "$T/net" "$WINEPREFIX/dosdevices/n:"
R="wine reg add HKLM\\Software\\Wine\\Drives /t REG_SZ /f /reg:64"
$R /v d: /d cdrom >/dev/null; $R /v e: /d cdrom >/dev/null
$R /v a: /d floppy >/dev/null; $R /v n: /d network >/dev/null

mkdir -p "$WINEPREFIX/drive_c/testdesk" "$WINEPREFIX/drive_c/testdocs"
E='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer'
wine reg add "$E\\User Shell Folders" /v Desktop /t REG_EXPAND_SZ /d 'C:\testdesk' /f >/dev/null
wine reg add "$E\\User Shell Folders" /v Personal /t REG_EXPAND_SZ /d 'C:\testdocs' /f >/dev/null
wine reg add "$E\\Shell Folders" /v Desktop /t REG_SZ /d 'C:\testdesk' /f >/dev/null
wine reg add "$E\\Shell Folders" /v Personal /t REG_SZ /d 'C:\testdocs' /f >/dev/null

# Micro Hei has no bitmap strikes: at 12 pixels Zen Hei's strikes drop strokes.
for n in 宋体 SimSun 新宋体 NSimSun 隶书 LiSu 黑体 SimHei Tahoma "MS Shell Dlg" "MS Shell Dlg 2"; do
  wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$n" /t REG_SZ \
    /d 'WenQuanYi Micro Hei' /f >/dev/null
done
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null
wineserver -w
touch "$stamp"
echo "Wine prefix ready: $WINEPREFIX"
