#!/usr/bin/env bash
# Builds the Debian package (CPack, into build-package/), checks it with lintian,
# installs it on this machine, runs the installed program in check mode against
# the installed simulator with the installed sample sheet, and removes it again.
#
#   bash tools/package.sh          leaves build-package/konfidor_VERSION_ARCH.deb
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=${KONFIDOR_PACKAGE_BUILD_DIR:-$root/build-package}
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

# dpkg-dev: Debian's hardening flags for the build (dpkg-buildflags), and the
# package's dependencies, which CPack works out with dpkg-shlibdeps (and file).
if ! command -v dpkg-buildflags >/dev/null; then
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev
fi
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    LDFLAGS=$(dpkg-buildflags --get LDFLAGS) \
    KONFIDOR_BUILD_DIR=$build_dir \
    KONFIDOR_EXTRA_PACKAGES="help2man dpkg-dev file lintian desktop-file-utils appstream" \
    KONFIDOR_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DKONFIDOR_TESTS=OFF -DKONFIDOR_BENCH=OFF" \
    "$root/tools/bootstrap.sh"

desktop-file-validate "$root/packaging/konfidor.desktop"
appstreamcli validate --no-net --explain "$build_dir/packaging/cz.konfidor.Konfidor.metainfo.xml"

rm -f "$build_dir"/konfidor_*.deb
(cd "$build_dir" && cpack -G DEB)
package=$(ls "$build_dir"/konfidor_*.deb)
# Errors fail the build. It shows no warnings; what stays are notes that strip
# keeps the compiler's .comment section.
lintian --fail-on error --info "$package"

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "$package"
work=$(mktemp -d "${TMPDIR:-/tmp}/konfidor-package.XXXXXX")
device_pid=
cleanup() {
    [ -n "$device_pid" ] && kill "$device_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

konfidor --version
# The installed program, started from an empty working directory, finds the
# installed sample sheet for the installed sample configuration served by the
# installed simulator.
read -r port device_pid < <("$root/tools/devsim/start-device.sh" /usr --password demo)
(cd "$work" && konfidor --check --address 127.0.0.1 --port "$port" --password demo) >"$work/check.out"
grep -F "Nalezen soubor 'demo-485.xml' pro konfiguraci zarizeni" "$work/check.out"
kill "$device_pid"
device_pid=
[ -f "$work/temp.xm~" ] # the received configuration lands in the working directory

DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get remove --purge -y -qq konfidor
if [ -e /usr/bin/konfidor ] || [ -e /usr/share/konfidor ]; then
    echo "package.sh: the package left files behind" >&2
    exit 1
fi
echo "package.sh: $(basename "$package") built, checked, installed, run and removed"
