#!/usr/bin/env bash
# Set-up, build, run and test Orva on Debian.
#   scripts/dev.sh run    install what is missing, build, start the tool on the simulated controller
#   scripts/dev.sh test   install what is missing, build, run every test (plain and sanitizer
#                         builds), check the Debian package and run each fuzz target for 15 s
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
    build-essential cmake pkg-config
    qt6-base-dev qt6-serialport-dev libgl-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev
    fonts-wqy-microhei
    xvfb xauth
)
# Only the test command needs these: building and checking the Debian package and its manual
# pages, and the picture of the window taken on a virtual screen.
test_packages=(dpkg-dev file desktop-file-utils appstream lintian man-db groff-base x11-utils
               imagemagick)

install_missing() {  # install_missing [extra packages...]
    local missing=()
    for p in "${packages[@]}" "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # build DIR [cmake options...]
    local dir=$1
    shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
}

run_tests() {  # run_tests DIR
    export QT_QPA_PLATFORM=offscreen
    (cd "$1" && ctest --output-on-failure -j"$jobs" --timeout 300)
}

# Builds the .deb from the plain build, lists it, and checks its menu entry, metadata and
# Debian policy (lintian errors fail; warnings are printed).
package_check() {  # package_check DIR
    rm -f "$1"/orva_*.deb
    (cd "$1" && cpack -G DEB >/dev/null)
    local deb
    deb=$(ls "$1"/orva_*.deb)
    dpkg-deb --info "$deb"
    dpkg-deb --contents "$deb"
    local tree
    tree=$(mktemp -d)
    dpkg-deb -x "$deb" "$tree"
    desktop-file-validate "$tree/usr/share/applications/orva.desktop"
    appstreamcli validate --pedantic --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
    scripts/check-hardening.sh "$tree"/usr/bin/*
    for icon in scalable/apps/orva.svg 48x48/apps/orva.png 128x128/apps/orva.png; do
        [ -f "$tree/usr/share/icons/hicolor/$icon" ] || { echo "missing icon $icon" >&2; return 1; }
    done
    for program in orva orva-cli kivrel-sim; do
        grep -q "<binary>$program</binary>" "$tree"/usr/share/metainfo/*.metainfo.xml ||
            { echo "AppStream does not provide $program" >&2; return 1; }
    done
    local recommends
    recommends=$(dpkg-deb --field "$deb" Recommends)
    [ "$recommends" = "fonts-noto-cjk | fonts-wqy-microhei, qt6-wayland" ] ||
        { echo "Recommends: $recommends" >&2; return 1; }
    rm -rf "$tree"
    # Every tag fails, to the pedantic ones; the package's overrides name the few that the
    # product's own spellings force.
    lintian --pedantic -I -E --fail-on error,warning,info,pedantic,experimental --allow-root "$deb"
}

case "${1:-}" in
run)
    install_missing
    build build
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display found: starting under Xvfb (a virtual screen) instead."
        exec xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/orva --demo
    fi
    exec build/bin/orva --demo
    ;;
test)
    install_missing "${test_packages[@]}"
    build build
    run_tests build
    scripts/check-manpages.sh build/bin
    scripts/window-shot.sh build/bin build/screenshot.png
    package_check build
    # Second pass: AddressSanitizer and UndefinedBehaviorSanitizer over the whole suite.
    build build-asan -DCMAKE_BUILD_TYPE=Debug -DORVA_SANITIZE=ON
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
        LSAN_OPTIONS=suppressions="$root/tests/lsan.supp" \
        UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        run_tests build-asan
    # Third pass: the libFuzzer harnesses, their kept findings, then 15 s of new inputs each.
    scripts/fuzz.sh 15
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
