#!/usr/bin/env bash
# The release packages from scripts/package, end to end:
#   - two packaging runs give byte-identical zips (and installers);
#   - each zip holds exactly the expected files, built for its architecture; the x86 and x64
#     installers hold the same files (7-Zip lists and unpacks them);
#   - in a fresh Wine prefix of its own, the x64 installer (silent) installs per user, the
#     installed ZELVO.EXE writes its dictionary beside itself, an upgrade over a running Zelvo
#     ends it with its dictionary saved, and the silent uninstall keeps the dictionary unless
#     asked to delete it.
# 32-bit programs cannot run on this machine: the x86 installer is checked by its contents.
#   package_wine_test.sh SOURCE_DIR PROBE_EXE WORK_DIR
# Exit status: 0 passed, 1 failed, 77 skipped (no makensis).
set -uo pipefail
src=$1
probe=$2
work=$3
checks="python3 $src/tests/package/package_checks.py"

if ! command -v makensis >/dev/null 2>&1; then
  echo "SKIPPED: makensis is missing; scripts/setup installs it (Debian package nsis)"
  exit 77
fi
for tool in 7z python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "FAILED: $tool is missing (scripts/setup installs it)"; exit 1; }
done

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok      $what"
  else
    echo "FAILED  $what"
    failures=$((failures + 1))
  fi
}
# A failed step that the following steps build on ends the test.
require() {
  check "$@" || { echo "$failures check(s) failed"; exit 1; }
}

rm -rf "$work"
mkdir -p "$work"

# ---- packaging ---------------------------------------------------------------------------

package() {
  "$src/scripts/package" --dist "$work/$1" --work "$work/build-$1" >"$work/$1.log" 2>&1 ||
    { cat "$work/$1.log"; return 1; }
}
require "scripts/package runs" package dist
require "scripts/package runs a second time" package dist2

dist=$work/dist
version=$(sed -n -E 's/^[[:space:]]*FILEVERSION[[:space:]]+([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+).*/\1.\2.\3.\4/p' \
          "$src/app/resources/zelvo.rc" | head -n1)
names=("zelvo-$version-x86.zip" "zelvo-$version-x64.zip" "zelvo-$version-x86-setup.exe" "zelvo-$version-x64-setup.exe")
produced=$(cd "$dist" && ls | sort | tr '\n' ' ')
expected=$(printf '%s\n' "${names[@]}" | sort | tr '\n' ' ')
require "dist holds the four packages of version $version" test "$produced" = "$expected"
for name in "${names[@]}"; do
  check "$name is byte-identical in both runs" cmp "$dist/$name" "$work/dist2/$name"
done
rm -rf "$work/dist2" "$work/build-dist2"

for arch in x86 x64; do
  check "the $arch zip holds exactly the expected files, for $arch" \
    $checks zip "$dist/zelvo-$version-$arch.zip" "$arch" "$work/files-$arch"
  check "the $arch installer is an $arch NSIS installer holding the zip's files" \
    $checks installer "$dist/zelvo-$version-$arch-setup.exe" "$arch" "$work/files-$arch"
done

# ---- the x64 installer under Wine, in a fresh prefix ---------------------------------------

export ZELVO_WINEPREFIX=$work/wineprefix
source "$src/scripts/wine-env"
cleanup() {
  "$WINESERVER" -k 2>/dev/null
  "$WINESERVER" -w 2>/dev/null
  zelvo_stop_display
}
trap cleanup EXIT
zelvo_wine_prefix
zelvo_display

# Wine's helper processes keep the standard streams of the call that starts them: files only.
win() {
  "$WINE" "$@" </dev/null >"$work/wine.out" 2>"$work/wine.err"
}
probe() {
  win "$probe" "$@"
  local status=$?
  tr -d '\r' <"$work/wine.out" >"$work/probe.out"
  cat "$work/wine.err" >&2
  return $status
}
not() { ! "$@"; }

user=$(id -un)
installed=$WINEPREFIX/drive_c/users/$user/AppData/Local/Programs/Zelvo
installed_windows="C:\\users\\$user\\AppData\\Local\\Programs\\Zelvo"
menu=$WINEPREFIX/drive_c/users/$user/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
startup_shortcut() { find "$menu" -maxdepth 2 -ipath '*/startup/zelvo.lnk' | head -n1; }
folder_is() { test "$(cd "$installed" 2>/dev/null && ls | LC_ALL=C sort | paste -sd' ')" = "$*"; }
setup=$dist/zelvo-$version-x64-setup.exe
program_files=(ZELVO.EXE ZELVOD.DLL ZELVOS.DLL GUIDE.txt LICENSE.txt)

# Polls a condition every 10 ms for up to 30 s.
wait_until() {
  local deadline=$((SECONDS + 30))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.01
  done
}

# Words as a user would commit them, and the dictionary lines they become, most recent first.
w1=(変換候補 へんかんこうほ)
w2=(辞書 じしょ)
w3=(記録 きろく)

# First install.
require "the x64 installer runs silently" win "$setup" /S
check "it installs exactly the program files and the uninstaller into %LOCALAPPDATA%\\Programs\\Zelvo" \
  folder_is GUIDE.txt LICENSE.txt Uninstall.exe ZELVO.EXE ZELVOD.DLL ZELVOS.DLL
check "the installed files are the packaged ones" $checks same-files "$installed" "$work/files-x64" "${program_files[@]}"
check "the Startup shortcut starts the installed ZELVO.EXE" \
  $checks shortcut "$(startup_shortcut)" "$installed_windows\\ZELVO.EXE"
check "the Start menu entry starts the installed ZELVO.EXE" \
  $checks shortcut "$menu/Zelvo/Zelvo.lnk" "$installed_windows\\ZELVO.EXE"
require "the uninstall key is in HKCU" probe uninstall-key
check "the uninstall key names the version" \
  grep -qx "DisplayVersion=$version" "$work/probe.out"
check "the uninstall key names the folder" grep -qxF "InstallLocation=$installed_windows" "$work/probe.out"

# The installed program starts from there and writes its dictionary beside itself at exit.
require "the installed ZELVO.EXE starts and becomes resident" probe start
require "it takes a word" probe register "${w1[@]}"
require "IDM_EXIT ends it with exit code 0" probe exit
check "its dictionary ZELVO.TXT is written beside it" \
  $checks dictionary "$installed/ZELVO.TXT" "${w1[@]}"

# An upgrade over a running Zelvo: tampered program files show that they were replaced,
# among them the hook library, mapped into the installer's own process while Zelvo ran.
for name in ZELVO.EXE ZELVOS.DLL GUIDE.txt; do
  printf 'stale' >>"$installed/$name"
done
require "Zelvo starts again" probe start
require "it takes a second word" probe register "${w2[@]}"
require "a second silent install over the running Zelvo succeeds" win "$setup" /S
check "the install has ended Zelvo" not probe running
check "Zelvo saved its dictionary as it ended: the new word first" \
  $checks dictionary "$installed/ZELVO.TXT" "${w2[@]}" "${w1[@]}"
check "the previous dictionary is kept as ZELVO.bak" \
  $checks dictionary "$installed/ZELVO.bak" "${w1[@]}"
check "the program files were replaced" $checks same-files "$installed" "$work/files-x64" "${program_files[@]}"
check "the folder holds the program, the uninstaller and the dictionary files" \
  folder_is GUIDE.txt LICENSE.txt Uninstall.exe ZELVO.EXE ZELVO.TXT ZELVO.bak ZELVOD.DLL ZELVOS.DLL

# A Zelvo that does not end: the install stops before it replaces anything, and says so in
# its exit code.
printf 'kept' >>"$installed/GUIDE.txt"
cp "$installed/GUIDE.txt" "$work/guide-before"
"$WINE" "$probe" hold 40 </dev/null >"$work/hold.out" 2>&1 &
hold=$!
require "a Zelvo window that ignores IDM_EXIT is up" wait_until probe window
win "$setup" /S
check "the install over a Zelvo that does not end fails" test $? -ne 0
check "that install has replaced nothing" cmp "$installed/GUIDE.txt" "$work/guide-before"
check "and has kept the dictionary" \
  $checks dictionary "$installed/ZELVO.TXT" "${w2[@]}" "${w1[@]}"
kill $hold 2>/dev/null
wait $hold 2>/dev/null
require "the window is gone" wait_until not probe window
win "$setup" /S
require "the next install succeeds" test $? -eq 0
check "and replaces the program files" $checks same-files "$installed" "$work/files-x64" "${program_files[@]}"

# The silent uninstall over a running Zelvo keeps the dictionary. The uninstaller goes on in
# a copy of itself, so the test waits for its work to show.
require "Zelvo starts from the upgraded folder" probe start
require "it takes a third word" probe register "${w3[@]}"
uninstaller="$installed_windows\\Uninstall.exe"
require "the uninstaller starts silently" win "$uninstaller" /S
uninstalled() { folder_is ZELVO.TXT ZELVO.bak && not probe uninstall-key && not probe running; }
check "the uninstall removes the program files and keeps ZELVO.TXT and ZELVO.bak" wait_until uninstalled
check "Zelvo saved its dictionary as the uninstaller ended it" \
  $checks dictionary "$installed/ZELVO.TXT" "${w3[@]}" "${w2[@]}" "${w1[@]}"
check "the Startup shortcut is gone" test -z "$(startup_shortcut)"
check "the Start menu folder is gone" not test -e "$menu/Zelvo"

# Installing again finds the kept dictionary; an uninstall asked to delete it leaves nothing.
require "a new install over the kept dictionary succeeds" win "$setup" /S
check "the kept dictionary is untouched by the install" \
  $checks dictionary "$installed/ZELVO.TXT" "${w3[@]}" "${w2[@]}" "${w1[@]}"
require "the uninstaller starts silently with /DELETEDICTIONARY" win "$uninstaller" /S /DELETEDICTIONARY
gone() { not test -e "$installed" && not probe uninstall-key; }
check "the uninstall with the dictionary box ticked removes the whole folder" wait_until gone

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
