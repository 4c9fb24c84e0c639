#!/usr/bin/env bash
# Tests of the installed component, run by CI after the tests (as root, for the package):
#   1. `cmake --install BUILD --prefix P` into a temporary prefix: the files a host needs, a dynamic
#      symbol table of the C interface alone, the SONAME, the program running from P without
#      LD_LIBRARY_PATH, a man page naming every option of --help;
#   2. two hosts built against P, one with pkg-config, one with CMake's find_package, each handing the
#      component a demo database and opening a window offscreen through the C interface;
#   3. the Debian package of scripts/package: lintian without errors, Depends with Qt 6 and the fonts,
#      installed with apt-get, the program's --version, demo-db and print summary from /usr, removed.
# Usage: tests/install/run.sh [BUILD]   Ends with "install: N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"
build="$(cd "${1:-build}" && pwd)"
work="$(mktemp -d)"
prefix="$work/prefix"
package_installed=0
cleanup() {
    [ "$package_installed" = 1 ] && apt-get remove -y -qq sl-payprn > /dev/null 2>&1
    rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" \
       XDG_DATA_HOME="$work/data"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset LD_LIBRARY_PATH

passed=0
failed=0
check() {  # name, command...: one check, its output shown when it fails
    local name="$1"
    shift
    if "$@" > "$work/out" 2>&1; then
        passed=$((passed + 1))
        echo "ok   $name"
    else
        failed=$((failed + 1))
        echo "FAIL $name"
        sed 's/^/     /' "$work/out" | tail -n 20
    fi
}

# 1. The prefix.
cmake --build "$build" --target slpayprn slpayprn_man_page slpayprn_changelog > /dev/null
check "cmake --install into a temporary prefix" cmake --install "$build" --prefix "$prefix"
installed_files() {
    local f missing=0
    for f in bin/slpayprn lib/libSl_PAYPRN.so lib/libSl_PAYPRN.so.1 lib/sl-payprn/libslpayprn-private.so \
             include/slpayprn.h lib/pkgconfig/slpayprn.pc lib/cmake/Sl_PAYPRN/Sl_PAYPRNConfig.cmake \
             lib/cmake/Sl_PAYPRN/Sl_PAYPRNConfigVersion.cmake share/man/man1/slpayprn.1.gz \
             share/applications/sl-payprn.desktop share/icons/hicolor/scalable/apps/sl-payprn.svg \
             share/doc/sl-payprn/README.md; do
        [ -e "$prefix/$f" ] || { echo "missing: $f"; missing=1; }
    done
    return $missing
}
check "every file a host and a clerk need" installed_files
only_c_interface() {
    local symbols
    symbols=$(nm -D --defined-only "$prefix/lib/libSl_PAYPRN.so.1" | awk '{print $3}')
    echo "$symbols"
    [ -n "$symbols" ] && ! echo "$symbols" | grep -v '^slp_'
}
check "the library exports the C interface alone" only_c_interface
check "SONAME libSl_PAYPRN.so.1" sh -c "readelf -d '$prefix/lib/libSl_PAYPRN.so.1' | grep -q 'Library soname: \[libSl_PAYPRN.so.1\]'"
version=$(sed -n 's/^project(Sl_PAYPRN VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
check "slpayprn --version from the prefix" sh -c "[ \"\$('$prefix/bin/slpayprn' --version)\" = 'slpayprn $version' ]"
check "demo-db from the prefix" "$prefix/bin/slpayprn" demo-db "$work/wages.db"
man_names_every_option() {
    local page options o missing=0
    page=$(gzip -dc "$prefix/share/man/man1/slpayprn.1.gz" | sed 's/\\-/-/g; s/\\f[BIR]//g')
    options=$("$prefix/bin/slpayprn" --help | grep -o -- '--[a-z][a-z-]*' | sort -u)
    for o in $options; do
        grep -q -- "$o" <<< "$page" || { echo "not in the man page: $o"; missing=1; }
    done
    for c in $("$prefix/bin/slpayprn" --help | sed -n 's/^  slpayprn \([a-z-]*\( [a-z-]*\)\?\).*/\1/p' | tr ' ' '_'); do
        grep -q -- "slpayprn ${c//_/ }" <<< "$page" || { echo "command not in the man page: $c"; missing=1; }
    done
    return $missing
}
check "the man page names every option and command of --help" man_names_every_option

# 2. Hosts built against the prefix.
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
check "a C host builds with pkg-config" cc "$root/tests/install/host.c" -o "$work/c_host" \
    $(pkg-config --cflags --libs slpayprn) -Wl,-rpath,"$(pkg-config --variable=libdir slpayprn)"
check "the C host opens a window through the C interface" "$work/c_host" "$work/wages.db"
check "a CMake host builds with find_package(Sl_PAYPRN 1)" sh -c \
    "cmake -S '$root/tests/install/cmake_host' -B '$work/cmake_host' -DCMAKE_PREFIX_PATH='$prefix' && cmake --build '$work/cmake_host'"
check "the CMake host opens a window through the C interface" "$work/cmake_host/cmake_host" "$work/wages.db"
check "find_package(Sl_PAYPRN 2) refuses version 1" sh -c \
    "! cmake -S '$root/tests/install/cmake_host' -B '$work/cmake_host2' -DCMAKE_PREFIX_PATH='$prefix' -DSLP_WANTED_VERSION=2"

# 3. The Debian package.
if [ "$(id -u)" -ne 0 ]; then
    echo "skip the Debian package: installing it needs root"
else
    deb=""
    make_package() { deb=$(bash "$root/scripts/package" 2> "$work/package.err") && [ -f "$root/$deb" ] || { cat "$work/package.err"; false; }; }
    check "scripts/package builds the .deb" make_package
    deb="$root/$deb"
    check "lintian reports no error" sh -c "lintian '$deb' 2>&1 | grep -v 'root privileges' | tee /dev/stderr | grep -q '^E:' && exit 1 || exit 0"
    check "Depends holds Qt 6 and the fonts" sh -c \
        "dpkg-deb -f '$deb' Depends | tr ',' '\n' | grep -q libqt6widgets6 && dpkg-deb -f '$deb' Depends | grep -q fonts-arphic-uming"
    check "apt-get installs the package" sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq '$deb'" &&
        package_installed=1
    check "/usr/bin/slpayprn --version" sh -c "[ \"\$(/usr/bin/slpayprn --version)\" = 'slpayprn $version' ]"
    check "demo-db and print summary --one-file from /usr" sh -c \
        "/usr/bin/slpayprn demo-db '$work/usr.db' && /usr/bin/slpayprn --db '$work/usr.db' print summary --one-file '$work/summary.pdf' && pdftotext '$work/summary.pdf' - | grep -q 班组汇总联"
    check "apt-get removes the package" sh -c "apt-get remove -y -qq sl-payprn && [ ! -e /usr/bin/slpayprn ] && [ ! -e /usr/lib/libSl_PAYPRN.so.1 ]" &&
        package_installed=0
fi

echo "install: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
