#!/usr/bin/env bash
# The release packages from scripts/package, end to end:
#   - two packaging runs give byte-identical zips (and installers);
#   - each zip holds exactly the expected files, built for its architecture (the x64 one also
#     the 32-bit host ZELVO32.EXE and ZELVOS32.DLL); each installer holds the files of its zip
#     (7-Zip lists and unpacks them); the x86 installer's script offers to stop on 64-bit
#     Windows, where the x64 package is the one;
#   - in a fresh Wine prefix of its own, on a Japanese system, for a user whose name holds a
#     character outside code page 932 (𠮷): the x64 installer speaks Japanese from its first
#     window (English to an English system); it installs per user, silently; the installed
#     ZELVO.EXE keeps the words it learns beside itself and has them again at its next start;
#     a silent upgrade over a running Zelvo ends it with its dictionary saved and starts it
#     again with that dictionary; the user's choice about starting at sign-in survives
#     upgrades; the silent uninstall keeps the dictionary unless asked to delete it; after an
#     uninstall and the next sign-in nothing of Zelvo is left in the profile (%TEMP% included)
#     but the kept dictionary; the same in a folder of /D= outside code page 932.
# Where 32-bit programs run, also: the x86 installer, started on this 64-bit Windows, says that
# the x64 package is the right one, stopping there leaves nothing behind, and a silent x86
# install goes on. Elsewhere the x86 installer is checked by its contents and its script.
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
check "the x86 installer's script offers to stop on 64-bit Windows, naming the x64 package" \
  $checks x64-offer "$src/installer/zelvo.nsi"

# ---- the x64 installer under Wine, in a fresh prefix ---------------------------------------

# Wine names the profile after $USER when it makes the prefix: 𠮷 has no form in code page
# 932, so the ANSI calls see the profile's path with a '?'.
user=𠮷田
export USER=$user
export ZELVO_WINEPREFIX=$work/wineprefix
source "$src/scripts/wine-env"
holder=""
cleanup() {
  [ -z "$holder" ] || kill "$holder" 2>/dev/null
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
# The probe's output holds exactly these lines.
printed() { test "$(cat "$work/probe.out")" = "$(printf '%s\n' "$@")"; }
# The probe's output holds this line.
printed_line() { grep -qxF -- "$1" "$work/probe.out"; }

profile=$WINEPREFIX/drive_c/users/$user
installed=$profile/AppData/Local/Programs/Zelvo
installed_windows="C:\\users\\$user\\AppData\\Local\\Programs\\Zelvo"
menu=$profile/AppData/Roaming/Microsoft/Windows/Start\ Menu/Programs
startup_shortcut() { find "$menu" -maxdepth 2 -ipath '*/startup/zelvo.lnk' | head -n1; }
folder_is() { test "$(cd "$installed" 2>/dev/null && ls | LC_ALL=C sort | paste -sd' ')" = "$*"; }
setup=$dist/zelvo-$version-x64-setup.exe
program_files=(ZELVO.EXE ZELVOD.DLL ZELVOS.DLL ZELVO32.EXE ZELVOS32.DLL GUIDE.txt LICENSE.txt)
set_aside_copies() { find "$profile/Temp" "$installed" -maxdepth 1 -name 'ZELVO*.old' 2>/dev/null; }

# Polls a condition every 10 ms for up to 30 s.
wait_until() {
  local deadline=$((SECONDS + 30))
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.01
  done
}

# The files of the profile and of the drive, for what an uninstall must leave as it found.
files_now() { find "$WINEPREFIX/drive_c" -path "$WINEPREFIX/drive_c/windows" -prune -o -type f -print | LC_ALL=C sort; }
files_now >"$work/files-before"
# Files that were not there before, as paths below drive_c.
new_files() {
  files_now | LC_ALL=C comm -13 "$work/files-before" - | sed "s|^$WINEPREFIX/drive_c/||" | paste -sd' '
}

# Words as a user would commit them, and the dictionary lines they become, most recent first.
w1=(変換候補 へんかんこうほ)
w2=(辞書 じしょ)
w3=(記録 きろく)
w4=(道具箱 どうぐばこ)
line() { printf '%s\t%s' "$1" "$2"; }

# The installer speaks the user's language from its first window on, without asking.
require "the installer shows its first window" probe first-window "Z:$setup"
check "its first window on a Japanese system is Japanese" printed_line "Zelvo セットアップへようこそ"
check "and offers to go on in Japanese" printed_line "次へ(&N) >"
check "it does not ask for a language" not printed_line "Installer Language"
LANG=C.UTF-8 LC_ALL=C.UTF-8 probe first-window "Z:$setup"
check "on an English system its first window is English" printed_line "Welcome to Zelvo Setup"
require "the version record is readable" probe version-info "Z:$setup"
check "the version record describes the installer in Japanese on a Japanese system" \
  grep -q "^041103a4 FileDescription=Zelvo (x64) セットアップ" "$work/probe.out"
check "closing the installer at its first page leaves no file behind" test -z "$(new_files)"

# First install: silent, for a user whose name the ANSI code page cannot spell.
require "the x64 installer runs silently" win "$setup" /S
check "it installs exactly the program files and the uninstaller into %LOCALAPPDATA%\\Programs\\Zelvo" \
  folder_is GUIDE.txt LICENSE.txt Uninstall.exe ZELVO.EXE ZELVO32.EXE ZELVOD.DLL ZELVOS.DLL ZELVOS32.DLL
check "the installed files are the packaged ones" $checks same-files "$installed" "$work/files-x64" "${program_files[@]}"
check "the Startup shortcut starts the installed ZELVO.EXE" \
  $checks shortcut "$(startup_shortcut)" "$installed_windows\\ZELVO.EXE"
check "the Start menu entry starts the installed ZELVO.EXE" \
  $checks shortcut "$menu/Zelvo/Zelvo.lnk" "$installed_windows\\ZELVO.EXE"
require "the uninstall key is in HKCU" probe uninstall-key
check "the uninstall key names the version" printed_line "DisplayVersion=$version"
check "the uninstall key names the folder" printed_line "InstallLocation=$installed_windows"
check "a silent first install does not start Zelvo" not probe running

# The installed program keeps what it learns beside itself and has it again at its next start.
require "the installed ZELVO.EXE starts and becomes resident" probe start
require "it takes a word" probe register "${w1[@]}"
require "IDM_EXIT ends it with exit code 0" probe exit
check "its dictionary ZELVO.TXT is written beside it" \
  $checks dictionary "$installed/ZELVO.TXT" "${w1[@]}"
# Tampered program files show that an upgrade replaced them.
for name in ZELVO.EXE ZELVOS.DLL GUIDE.txt; do
  printf 'stale' >>"$installed/$name"
done
require "Zelvo starts again" probe start
probe candidates "${w1[1]}"
check "started again, it offers the word it learnt" printed "$(line "${w1[@]}")"

# A silent upgrade over the running Zelvo while an application still holds the old hook
# library: Zelvo is ended with its dictionary saved, the library set aside, and Zelvo started
# again with the same dictionary.
require "it takes a second word" probe register "${w2[@]}"
"$WINE" "$probe" hold-library "$installed_windows\\ZELVOS.DLL" 60 </dev/null >"$work/holder.out" 2>&1 &
holder=$!
require "an application holds the hook library" wait_until grep -q loaded "$work/holder.out"
require "a second silent install over the running Zelvo succeeds" win "$setup" /S
check "Zelvo saved its dictionary as it ended: the new word first" \
  $checks dictionary "$installed/ZELVO.TXT" "${w2[@]}" "${w1[@]}"
check "the previous dictionary is kept as ZELVO.bak" \
  $checks dictionary "$installed/ZELVO.bak" "${w1[@]}"
check "the program files were replaced" $checks same-files "$installed" "$work/files-x64" "${program_files[@]}"
check "the folder holds the program, the uninstaller and the dictionary files" \
  folder_is GUIDE.txt LICENSE.txt Uninstall.exe ZELVO.EXE ZELVO.TXT ZELVO.bak ZELVO32.EXE ZELVOD.DLL ZELVOS.DLL \
    ZELVOS32.DLL
require "the silent upgrade has started Zelvo again" probe resident
probe candidates "${w2[1]}"
check "the restarted Zelvo offers the words of the same dictionary" printed "$(line "${w2[@]}")"
probe candidates "${w1[1]}"
check "all of them" printed "$(line "${w1[@]}")"
check "the held hook library was set aside as a .old copy in %TEMP%" \
  test "$(set_aside_copies | sed 's|.*/||; s|\.[0-9-]*\.old$||')" = "ZELVOS.DLL"
probe run-once
check "a RunOnce entry is to delete the set-aside copies at the next sign-in" \
  grep -q '^Zelvo set-aside copies=.*cmd.exe.* del .*ZELVOS\.DLL\.\*\.old' "$work/probe.out"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
holder=""
require "IDM_EXIT ends the restarted Zelvo" probe exit
# Signing out ends every process: nothing holds the set-aside copy any more.
end_session() { "$WINESERVER" -k 2>/dev/null; "$WINESERVER" -w 2>/dev/null; }
end_session

# The choice about starting at sign-in survives upgrades: a user who removed the shortcut
# does not get it back from /S.
rm -f "$(startup_shortcut)"
require "a silent upgrade after the user removed the Startup shortcut succeeds" win "$setup" /S
check "the Startup shortcut stays removed" test -z "$(startup_shortcut)"
check "the upgrade removed the set-aside copy of the earlier one" test -z "$(set_aside_copies)"

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
check "a silent upgrade over a Zelvo that was not running does not start it" not probe running
check "the Startup shortcut is still removed" test -z "$(startup_shortcut)"

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
check "the Start menu folder is gone" not test -e "$menu/Zelvo"
kept="users/$user/AppData/Local/Programs/Zelvo/ZELVO.TXT users/$user/AppData/Local/Programs/Zelvo/ZELVO.bak"
# The uninstaller's copy of itself (Un.exe in a "~nsu" folder of %TEMP%) ends a moment after
# its work shows.
uninstaller_ended() { not probe process Un.exe; }
require "the uninstaller ends" wait_until uninstaller_ended
end_session
require "the next sign-in runs the RunOnce entries" probe sign-in
check "after it, nothing of Zelvo is left in the profile but the dictionary" test "$(new_files)" = "$kept"
probe run-once
check "and no RunOnce entry is left" test ! -s "$work/probe.out"

# Installing again finds the kept dictionary; an uninstall asked to delete it leaves nothing.
require "a new install over the kept dictionary succeeds" win "$setup" /S
check "the kept dictionary is untouched by the install" \
  $checks dictionary "$installed/ZELVO.TXT" "${w3[@]}" "${w2[@]}" "${w1[@]}"
check "a new install after an uninstall starts Zelvo at sign-in again" test -n "$(startup_shortcut)"
require "the uninstaller starts silently with /DELETEDICTIONARY" win "$uninstaller" /S /DELETEDICTIONARY
gone() { not test -e "$installed" && not probe uninstall-key; }
check "the uninstall with the dictionary box ticked removes the whole folder" wait_until gone

# A folder of the user's choosing (/D=) whose name the ANSI code page cannot spell either.
chosen_windows="C:\\Zelvo𠮷\\道具"
chosen=$WINEPREFIX/drive_c/Zelvo𠮷/道具
require "a silent install with /D= into a folder outside code page 932 succeeds" win "$setup" /S "/D=$chosen_windows"
check "the program files are in that folder" $checks same-files "$chosen" "$work/files-x64" "${program_files[@]}"
probe uninstall-key
check "the uninstall key names that folder" printed_line "InstallLocation=$chosen_windows"
require "Zelvo starts from that folder" probe start
require "it takes a word" probe register "${w4[@]}"
require "and ends" probe exit
check "its dictionary is written in that folder" $checks dictionary "$chosen/ZELVO.TXT" "${w4[@]}"
require "Zelvo starts from that folder again" probe start
probe candidates "${w4[1]}"
check "and offers the word it learnt" printed "$(line "${w4[@]}")"
require "the uninstaller of that folder starts silently with /DELETEDICTIONARY" \
  win "$chosen_windows\\Uninstall.exe" /S /DELETEDICTIONARY
check "the uninstall removes that folder" wait_until not test -e "$chosen"
require "the uninstaller ends" wait_until uninstaller_ended
end_session
require "the next sign-in runs the RunOnce entries" probe sign-in
check "after it, nothing of Zelvo is left on the drive" test -z "$(new_files)"

# ---- the x86 installer on this 64-bit Windows, where 32-bit programs run -------------------

if "$src/scripts/runs-32bit" >/dev/null && zelvo_has_wine32; then
  x86_setup=$dist/zelvo-$version-x86-setup.exe
  x86_folder="C:\\ZelvoX86"
  probe first-window "Z:$x86_setup"
  check "the x86 installer says at once that the x64 package is the right one" \
    grep -qF -- "x64 版 (zelvo-$version-x64-setup.exe)" "$work/probe.out"
  check "and asks whether to stop" grep -qF -- "インストールをやめますか?" "$work/probe.out"
  check "stopping there leaves no file behind" test -z "$(new_files)"
  require "a silent x86 install goes on" win "$x86_setup" /S "/D=$x86_folder"
  check "it installs the x86 package's files, without a host" \
    $checks same-files "$WINEPREFIX/drive_c/ZelvoX86" "$work/files-x86" ZELVO.EXE ZELVOD.DLL ZELVOS.DLL GUIDE.txt
  check "no host program among them" not test -e "$WINEPREFIX/drive_c/ZelvoX86/ZELVO32.EXE"
  require "its uninstaller starts silently with /DELETEDICTIONARY" win "$x86_folder\\Uninstall.exe" /S /DELETEDICTIONARY
  check "the uninstall removes that folder" wait_until not test -e "$WINEPREFIX/drive_c/ZelvoX86"
  require "the uninstaller ends" wait_until uninstaller_ended
else
  why=$("$src/scripts/runs-32bit") && why="wine32 is not installed"
  echo "skipped the x86 installer under Wine: $why"
fi

if [ $failures -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
