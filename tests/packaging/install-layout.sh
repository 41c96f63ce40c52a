#!/usr/bin/env bash
# Installs the build into a staging directory and checks the installed layout and
# where the installed program finds its sheets: beside itself first, then the
# installed sheet directory, then the user's.
#
#   install-layout.sh BUILD_DIR
set -euo pipefail
build_dir=${1:?usage: install-layout.sh BUILD_DIR}
stage=$(mktemp -d "${TMPDIR:-/tmp}/konfidor-install.XXXXXX")
trap 'rm -rf "$stage"' EXIT
fail() { echo "install-layout: $*" >&2; exit 1; }

DESTDIR=$stage/root cmake --install "$build_dir" --prefix /usr >/dev/null
usr=$stage/root/usr
[ "$(ls "$stage/root")" = usr ] || fail "files installed outside the prefix: $(ls "$stage/root")"
expected=(bin/konfidor bin/konfidor-devsim
    share/konfidor/sheets/demo-485.xml share/konfidor/demo-485-device.xm
    share/doc/konfidor/README.md share/doc/konfidor/sheets.md share/doc/konfidor/images/demo.png
    share/doc/konfidor/copyright share/doc/konfidor/changelog.gz
    share/applications/konfidor.desktop share/metainfo/cz.konfidor.Konfidor.metainfo.xml
    share/icons/hicolor/scalable/apps/konfidor.svg)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/konfidor.png")
done
# Manual pages are made when help2man is there (the package build installs it).
if [ -f "$build_dir/packaging/konfidor.1.gz" ]; then
    expected+=(share/man/man1/konfidor.1.gz share/man/man1/konfidor-devsim.1.gz)
fi
for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || fail "not installed: $file"
done
[ -x "$usr/bin/konfidor" ] || fail "bin/konfidor is not executable"

# The sheet the installed program builds for the installed sample configuration,
# with the user's data directory in the staging area.
mkdir -p "$stage/work" "$stage/home/konfidor/sheets" "$stage/aside"
found() {
    (cd "$stage/work" && XDG_DATA_HOME=$stage/home QT_QPA_PLATFORM=offscreen \
        "$usr/bin/konfidor" --check --offline "$usr/share/konfidor/demo-485-device.xm" 2>&1 || true) |
        sed -n "s/.*Nalezen soubor '\([^']*\)'.*/\1/p"
}
expect() {
    local got
    got=$(found)
    [ "$got" = "$1" ] || fail "$2: expected the sheet '$1', the program built '${got:-none}'"
}
expect demo-485.xml "the installed sheet"
cp "$usr/share/konfidor/sheets/demo-485.xml" "$stage/home/konfidor/sheets/a-mine.xml"
expect demo-485.xml "the installed directory before the user's"
mv "$usr/share/konfidor/sheets/demo-485.xml" "$stage/aside/"
expect a-mine.xml "the user's directory once the installed one holds none"
cp "$stage/aside/demo-485.xml" "$usr/bin/beside.xml"
expect beside.xml "the program's own directory first"
echo "install-layout: ${#expected[@]} files in place, sheets found in the right order"
