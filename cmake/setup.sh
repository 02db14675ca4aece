# Shared by ./run, ./test, ./package and bench/run: installs the Debian packages the build and the tests need
# (only those missing), then configures and builds into the given build folder.
# Usage: source cmake/setup.sh; qxo_setup <build-dir> [extra cmake args...]

QXO_PACKAGES="cmake g++ ninja-build pkgconf qt6-base-dev libsqlite3-dev libsodium-dev libbenchmark-dev
sqlite3 xvfb xauth xdotool x11-utils openbox imagemagick fonts-liberation desktop-file-utils appstream python3
libxcb1-dev time dpkg-dev file clang libclang-rt-14-dev libboost-dev qt6-svg-dev weston qt6-wayland xclip
lintian man-db at-spi2-core dbus-x11 python3-pyatspi"
# clang and its runtime build the libFuzzer target that ./test runs briefly. Boost.Math (header-only)
# gives the exact distributions, Qt SVG saves charts, weston and qt6-wayland run the Wayland tests,
# xclip lets the end-to-end tests read what the program copies; python3 runs docs/verify_record.py.
# lintian checks the Debian package and man-db reads its manual page; at-spi2-core, dbus-x11 and
# python3-pyatspi let an end-to-end test use the program as a screen reader does.

qxo_install_packages() {
    local missing=()
    local p
    for p in $QXO_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing missing packages: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        sudo="sudo"
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

qxo_setup() {
    local build_dir="$1"
    shift
    qxo_install_packages || return 1
    cmake -S . -B "$build_dir" -G Ninja "$@" >/dev/null || return 1
    cmake --build "$build_dir" --parallel "$(nproc)" || return 1
}
