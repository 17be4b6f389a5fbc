#!/usr/bin/env bash
# Installs the build into a temporary prefix and its Debian package into a temporary root, starts
# both programs from each, and validates the desktop entry and the AppStream metadata.
#   install_test.sh BUILD_DIR INSTALL_PREFIX
set -euo pipefail
build="$1"
prefix="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# The programs must find their files by themselves, as after a real installation.
unset KALVINTOR_PROGRAM_DIR KALVINTOR_MACHINE_SETTINGS

expect_help() {  # ROOT PREFIX: both programs answer from ROOT/PREFIX and name its folders
  local root="$1" p="$2" etc
  if [ "$p" = /usr ]; then etc=/etc; else etc="$p/etc"; fi
  local bin="$root$p/bin"
  "$bin/kalvintor" --version | grep -Eq '^kalvintor [0-9]+\.[0-9]+\.[0-9]+ \(build [0-9]+\)$' ||
    fail "kalvintor --version from $bin"
  local help
  help="$("$bin/kalvintor" --help)"
  grep -qF "Program files:    $root$p/share/kalvintor" <<<"$help" || fail "program files not found from $bin: $help"
  grep -qF "Machine settings: $root$etc/kalvintor/kalvintor.ini" <<<"$help" || fail "machine settings from $bin: $help"
  "$bin/kalvintor-admin" --help >/dev/null || fail "kalvintor-admin --help from $bin"
  "$bin/kalvintor-admin" --version | grep -q '^kalvintor-admin ' || fail "kalvintor-admin --version from $bin"
  # A shipped setup is read from the share folder.
  "$bin/kalvintor-admin" setup "$root$p/share/kalvintor/Beginner.lvs" >/dev/null || fail "shipped setup unreadable"
  [ -s "$root$p/share/kalvintor/Language/English.LAN" ] || fail "no language file"
  [ -s "$root$p/share/kalvintor/fonts/Bravura.otf" ] || fail "no music font"
  [ -s "$root$p/share/kalvintor/fonts/Bravura-LICENSE.txt" ] || fail "no music font licence"
  [ -d "$root/var/lib/kalvintor" ] || [ -d "$root$p/var/lib/kalvintor" ] || fail "no default data directory"
  grep -q '^Datapath=.*/var/lib/kalvintor$' "$root$etc/kalvintor/kalvintor.ini" || fail "Datapath not set"
}

# 1. cmake --install into a temporary prefix: the layout works wherever the prefix is.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
expect_help "" "$work/prefix"
# The installed folders are relative to the prefix the build was configured with; a moved
# installation keeps its share folder, and its configuration folder relative to the programs.
complaints="$(desktop-file-validate "$work/prefix/share/applications/org.kalvintor.Kalvintor.desktop" 2>&1)" ||
  fail "desktop entry: $complaints"
[ -z "$complaints" ] || fail "desktop entry: $complaints"
appstreamcli validate --no-net --pedantic "$work/prefix/share/metainfo/org.kalvintor.Kalvintor.metainfo.xml" >/dev/null ||
  { appstreamcli validate --no-net "$work/prefix/share/metainfo/org.kalvintor.Kalvintor.metainfo.xml"; fail "metainfo"; }
xmllint --noout "$work/prefix/share/mime/packages/org.kalvintor.Kalvintor.xml" 2>/dev/null ||
  python3 -c "import sys,xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])" \
    "$work/prefix/share/mime/packages/org.kalvintor.Kalvintor.xml" || fail "MIME types file"

# 2. The Debian package, unpacked into a temporary root.
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/package" >/dev/null)
deb="$(ls "$work"/package/*.deb)"
info="$(dpkg-deb --info "$deb")"
grep -q 'Depends:.*timgm6mb-soundfont' <<<"$info" || fail "the package does not name the SoundFont: $info"
contents="$(dpkg-deb --contents "$deb")"
grep -q 'etc/kalvintor/kalvintor.ini$' <<<"$contents" || fail "no machine settings in the package"
dpkg-deb -x "$deb" "$work/root"
expect_help "$work/root" "$prefix"
