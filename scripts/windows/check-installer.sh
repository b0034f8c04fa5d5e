#!/usr/bin/env bash
# Tries the per-user installer under Wine as a player would meet it (fresh prefix, Chinese
# locale, a virtual X server): installs silently, checks the files, the Start-menu entry, the
# desktop shortcut and the uninstall entry; starts the installed program on a draw file whose
# path the settings file holds with forward slashes, waits for its window and its archive,
# saves a screenshot, closes it as a player would and checks that the path was stored with
# Windows separators; uninstalls silently and checks that the program's files are gone and
# the archive and the settings are still there; then installs again and checks that
# uninstalling with /REMOVEDATA takes the archive and the settings too.
# usage: scripts/windows/check-installer.sh [dist/zuohao-<version>-setup.exe] [screenshot.png]
set -euo pipefail
source "$(dirname "$0")/common.sh"
root="$(cd "$ZUOHAO_WIN_DIR/../.." && pwd)"
setup=$(realpath "${1:-$(ls "$root"/dist/zuohao-*-setup.exe | tail -1)}")
shot=$(realpath -m "${2:-$root/dist/wine-installed.png}")
zuohao_need_locale zh_CN.UTF-8
export LC_ALL=zh_CN.UTF-8
work=$(mktemp -d "${TMPDIR:-/tmp}/zuohao-installer.XXXXXX")
# Wine links the prefix's Desktop and Documents to the folders of $HOME: a home of our own
# keeps the shortcuts off this machine's desktop. No menu entries for the host either.
export HOME="$work/home"
mkdir -p "$HOME/Desktop"
unset XDG_CONFIG_HOME XDG_DATA_HOME XDG_DESKTOP_DIR
source "$ZUOHAO_WIN_DIR/wine-env.sh"
zuohao_wine_session_start
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
trap 'zuohao_wine_prefix_end; zuohao_xvfb_end; rm -rf "$work"' EXIT

fail() {
  echo "check-installer: $*" >&2
  exit 1
}
# The Windows folder a variable names, as a path on this machine.
win_folder() { winepath -u "$(wine cmd /c "echo %$1%" 2>/dev/null | tr -d '\r')"; }
local_app=$(win_folder LOCALAPPDATA)
app_data=$(win_folder APPDATA)
desktop="$(win_folder USERPROFILE)/Desktop"
programs="$local_app/Programs/zuohao"
start_menu="$app_data/Microsoft/Windows/Start Menu/Programs/做号计划.lnk"
data="$local_app/zuohao"
ini="$WINEPREFIX/drive_c/zelkwt.ini"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\zuohao'

install() {
  local t0=$SECONDS
  wine "$setup" /S || fail "the installer failed"
  wineserver -w
  [ -f "$programs/zuohao.exe" ] || fail "no $programs/zuohao.exe after installing"
  echo "==> installed silently in $((SECONDS - t0)) s"
}
uninstall() {
  # The uninstaller runs on from a copy of itself: wait for every Wine process to end.
  wine "$programs/uninstall.exe" /S "$@" || fail "the uninstaller failed"
  wineserver -w
}

install
for f in zuohao-cli.exe Qt6Core.dll platforms/qwindows.dll README-zh.txt uninstall.exe; do
  [ -f "$programs/$f" ] || fail "not installed: $f"
done
[ -f "$start_menu" ] || fail "no Start-menu entry $start_menu"
[ -f "$desktop/做号计划.lnk" ] || fail "no desktop shortcut in $desktop"
wine reg query "$uninstall_key" /v QuietUninstallString >/dev/null 2>&1 ||
  fail "no uninstall entry for the current user"

# A draw file with a Chinese name, named in the settings file (in the Chinese code page,
# as the old program writes it) with forward slashes.
draws_win='C:\users\Public\开奖.txt'
cp "$root/data/sample-draws.txt" "$(winepath -u "$draws_win")"
printf '[网址]\r\nzelkc=%s\r\n' "${draws_win//\\//}" | iconv -f UTF-8 -t GB18030 >"$ini"
# A player who answered the first close's question (keep running in the tray?) with 退出程序:
# the close below ends the program, as the close button then does.
mkdir -p "$data"
printf '{"version": 1, "onClose": "quit", "targets": []}\n' >"$data/notify.json"
wine "$programs/zuohao.exe" >"$work/zuohao.log" 2>&1 &
app=$!
for _ in $(seq 600); do
  xdotool search --onlyvisible --name 'zuohao' >/dev/null 2>&1 && [ -f "$data/draws.sqlite" ] && break
  kill -0 "$app" 2>/dev/null || { cat "$work/zuohao.log"; fail "the installed program ended early"; }
  sleep 0.1
done
xdotool search --onlyvisible --name 'zuohao' >/dev/null 2>&1 || fail "no window of the installed program"
[ -f "$data/draws.sqlite" ] || fail "the installed program made no archive in $data"
# The first refresh has drawn the grid once the archive holds the draws; give it a frame.
sleep 2
import -window root "$shot"
echo "==> the installed program's window: $shot"
wine taskkill /im zuohao.exe >/dev/null 2>&1 || true # a close request, as the close button
for _ in $(seq 300); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the installed program did not close"
stored=$(iconv -f GB18030 -t UTF-8 <"$ini" | tr -d '\r' | sed -n 's/^zelkc=//p')
[ "$stored" = "$draws_win" ] || fail "the draw file's path was stored as '$stored', not '$draws_win'"

uninstall
[ ! -e "$programs" ] || { find "$programs" >&2; fail "files left in $programs"; }
[ ! -e "$start_menu" ] || fail "the Start-menu entry is left"
[ ! -e "$desktop/做号计划.lnk" ] || fail "the desktop shortcut is left"
wine reg query "$uninstall_key" >/dev/null 2>&1 && fail "the uninstall entry is left"
[ -f "$data/draws.sqlite" ] || fail "uninstalling took the archive"
grep -q '^zelkc=' "$ini" || fail "uninstalling took the settings"
echo "==> uninstalled silently: program gone, archive and settings kept"

install
uninstall /REMOVEDATA
[ ! -e "$data" ] || fail "/REMOVEDATA left $data"
grep -q '^zelkc=' "$ini" && fail "/REMOVEDATA left the draw file's path in the settings"
echo "==> uninstalled with /REMOVEDATA: archive and settings gone too"
