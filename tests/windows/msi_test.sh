#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Windows installer silently under Wine, as msiexec /i ... /qn
# does it for an administrator, and checks what it leaves:
#
#  1. the programs and texts in "Program Files\ZUR level converter"; the
#     installed zurconv.exe tells its version and converts a level to the
#     same bytes as the built one; a Start menu shortcut to the dialog that
#     starts it in the user's Documents folder; one uninstall entry; PATH as
#     it was;
#  2. the installer of the next version, installed over it, replaces it:
#     one uninstall entry, of the new version, and the programs run;
#  3. uninstalling it (msiexec /x ... /qn) leaves nothing of it.
#
# Wine puts a per-machine package's Start menu entry into the installing
# user's Start menu, so the shortcut is looked for in either.
#
# Usage: msi_test.sh WINE_PREFIX MSI VERSION NEXT_MSI NEXT_VERSION ZURCONV EXAMPLES
set -euo pipefail
export WINEPREFIX=$1 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
msi=$2 version=$3 next_msi=$4 next_version=$5 zurconv=$6 examples=$7

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$(basename "$0"): $*" >&2
  exit 1
}

drive_c=$WINEPREFIX/drive_c
folder="$drive_c/Program Files/ZUR level converter"
installed='C:\Program Files\ZUR level converter'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
environment_key='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
files=(LICENSE.txt README.txt makelev.txt zurconv-gui.exe zurconv-paintnet.txt zurconv.act zurconv.exe
       zurconv.gpl zurlev.exe)

# Every uninstall entry of the product, one a line: its key's last name (the
# product code) and its display version.
entries_with_codes() {
  wine reg query "$uninstall_key" /s | tr -d '\r' | awk '
    /^HKEY/ { n = split($0, key, "\\"); code = key[n]; name = 0 }
    /DisplayName +REG_SZ +ZUR level converter$/ { name = 1 }
    /DisplayVersion/ { version = $NF }
    /^$/ { if (name) print code, version; name = 0 }
    END { if (name) print code, version }'
}
entries() { entries_with_codes | cut -d ' ' -f 2; }
shortcuts() { find "$drive_c" -name 'ZUR level converter.lnk'; }
path_value() { wine reg query "$environment_key" /v PATH | tr -d '\r'; }
msiexec() { wine msiexec "$1" "$(winepath -w "$2")" /qn || fail "msiexec $1 $(basename "$2") failed"; }

# A run that failed half-way may have left an installation behind.
for code in $(entries_with_codes | cut -d ' ' -f 1); do wine msiexec /x "$code" /qn || true; done
[ -z "$(entries)" ] && [ ! -e "$folder" ] && [ -z "$(shortcuts)" ] ||
  fail "an earlier installation is in the way"
path_before=$(path_value)

# 1.
msiexec /i "$msi"
for file in "${files[@]}"; do
  [ -f "$folder/$file" ] || fail "$file was not installed"
done
[ "$(ls "$folder" | wc -l)" -eq "${#files[@]}" ] || fail "more was installed: $(ls "$folder")"
# The whole output is read, so that the program can write all of it.
version_of_installed() { wine "$installed\\zurconv.exe" --version | tr -d '\r' | sed -n 1p; }
[ "$(version_of_installed)" = "zurconv (ZUR level converter) $version" ] ||
  fail "the installed zurconv.exe does not tell version $version: $(version_of_installed)"
mkdir "$work/installed" "$work/built"
cp "$examples"/jungle* "$work/installed/"
cp "$examples"/jungle* "$work/built/"
(cd "$work/installed" && wine "$installed\\zurconv.exe" -q jungle </dev/null) ||
  fail "the installed zurconv.exe did not convert a level"
(cd "$work/built" && wine "$zurconv" -q jungle </dev/null) || fail "the built zurconv.exe failed"
cmp -s "$work/installed/jungle.lev" "$work/built/jungle.lev" ||
  fail "the installed zurconv.exe converts to other bytes"

[ "$(shortcuts | wc -l)" -eq 1 ] || fail "no one Start menu shortcut: $(shortcuts)"
documents="$(wine cmd /c echo %USERPROFILE% | tr -d '\r')\\Documents\\"
shortcut=$(tr -d '\0' <"$(shortcuts)")
[[ $shortcut == *"$installed\\zurconv-gui.exe"* ]] || fail "the shortcut does not start the dialog"
[[ $shortcut == *"$documents"* ]] || fail "the shortcut does not start in $documents"
[ "$(entries)" = "$version" ] || fail "uninstall entries after installing: $(entries | tr "\n" " ")"
[ "$(path_value)" = "$path_before" ] || fail "PATH changed: $(path_value)"

# 2.
msiexec /i "$next_msi"
[ "$(entries)" = "$next_version" ] || fail "uninstall entries after the upgrade: $(entries | tr "\n" " ")"
[ "$(version_of_installed)" = "zurconv (ZUR level converter) $version" ] ||
  fail "the upgraded zurconv.exe does not run: $(version_of_installed)"
[ "$(shortcuts | wc -l)" -eq 1 ] || fail "no one Start menu shortcut after the upgrade"

# 3.
msiexec /x "$next_msi"
[ ! -e "$folder" ] || fail "the program folder is left: $(ls -A "$folder")"
[ -z "$(shortcuts)" ] || fail "the shortcut is left"
[ -z "$(entries)" ] || fail "an uninstall entry is left"
[ -z "$(find "$drive_c/windows/Installer" -mindepth 1 -print -quit)" ] ||
  fail "the installer's copy is left"
[ "$(path_value)" = "$path_before" ] || fail "PATH changed"
echo "msi_test: passed"
