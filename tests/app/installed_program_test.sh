#!/usr/bin/env bash
# The program as a user gets it: installed into a prefix the user cannot
# write, and packaged as a Debian package. Usage: installed_program_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

# The desktop entry and the metainfo pass the desktop's validators. Debian 12's
# desktop-file-validate knows the entry format 1.4 only, which lacks
# SingleMainWindow: that one complaint is expected, any other fails.
complaints="$(desktop-file-validate "$source/resources/desktop/com.vantoro.AddressBook.desktop" | grep -v 'key "SingleMainWindow"' || true)"
[ -z "$complaints" ] || fail "desktop entry: $complaints"
appstreamcli validate --no-net "$source/resources/desktop/com.vantoro.AddressBook.metainfo.xml" >/dev/null ||
  fail "metainfo does not validate"

# Installed under a prefix (which the user could write); the user runs it
# with a home folder of their own, and the cards go to the user's data folder.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir -p "$work/home"
printf 'BEGIN:VCARD\r\nFN:Ann Lee\r\nEMAIL;PREF;INTERNET:ann@example.com\r\nEND:VCARD\r\n' > "$work/ann.vcf"
as_user() { env -u XDG_RUNTIME_DIR -u XDG_DATA_HOME HOME="$work/home" "$@"; }
cards="$work/home/.local/share/addressbook/VCardData"
as_user env QT_QPA_PLATFORM=offscreen AB_QUIT_AFTER_FIRST_PAINT=1 timeout 30 "$work/prefix/bin/addressbook" \
  > "$work/window.log" 2>&1 || fail "the installed program did not end with 0: $(cat "$work/window.log")"
[ -d "$cards" ] || fail "no card folder in the user's data folder"
[ ! -e "$work/prefix/bin/VCardData" ] || fail "a card folder beside the installed program"
as_user "$work/prefix/bin/addressbook-cli" import-vcard "$work/ann.vcf" "$cards" >/dev/null
as_user "$work/prefix/bin/addressbook-cli" list | grep '^Ann Lee	ann@example.com' >/dev/null ||
  fail "the companion does not list the user's card folder"
as_user "$work/prefix/bin/addressbook-cli" render "$cards"/VC*.vcf "$work/home/card.png" 2> "$work/render.log" ||
  fail "render failed: $(cat "$work/render.log")"
! grep -q 'no resource library' "$work/render.log" || fail "the installed bundle was not found"

# The Debian package installs the same files; its companion runs from an unpacked root.
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null 2>&1)
deb="$(ls "$work"/package/*.deb)"
dpkg-deb -I "$deb" | grep 'Depends:.*libqt6widgets6' >/dev/null || fail "the package names no dependencies"
dpkg-deb -x "$deb" "$work/root"
[ -f "$work/root/usr/share/applications/com.vantoro.AddressBook.desktop" ] || fail "no desktop entry in the package"
"$work/root/usr/bin/addressbook-cli" list "$cards" | grep '^Ann Lee' >/dev/null || fail "the packaged companion does not run"
echo "installed and packaged programs work"
