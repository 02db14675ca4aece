#!/usr/bin/env bash
# Checks what a user's desktop will find after installing the program:
#   check_package.sh install <build-dir> <bindir> <datadir>
#       `cmake --install` into a scratch DESTDIR; every file the desktop entry and the metainfo name is
#       in place, and both pass their validators.
#   check_package.sh deb <build-dir> <bindir> <datadir>
#       builds the Debian package with CPack, unpacks it with `dpkg -x` into a scratch root and runs the
#       same checks there (the package installs under /usr whatever the build's prefix); the package
#       holds exactly what `cmake --install` installs, every linked library's Debian package is a
#       dependency, and so are the fonts the windows are laid out for; lintian finds no error and no
#       warning (its informational tags are printed).
# Exits 77 (reported as skipped) when the Debian tools are missing.
set -euo pipefail

mode=$1
build=$(cd "$2" && pwd)
bindir=$3
datadir=$4
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
app=qxorvanta-trainer

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

scratch=$(mktemp -d)
# Staging installs (ours and CPack's) rewrite the build folder's install manifest, which the user's
# own `cmake --install` wrote and which uninstalling reads: put it back afterwards.
manifest=$build/install_manifest.txt
if [ -e "$manifest" ]; then
    cp -p "$manifest" "$scratch/manifest.saved"
fi
restore() {
    if [ -e "$scratch/manifest.saved" ]; then
        cp -p "$scratch/manifest.saved" "$manifest"
    else
        rm -f "$manifest"
    fi
    rm -rf "$scratch"
}
trap restore EXIT

# Width and height of a PNG file from its header, "W H".
png_size() {
    local sig
    sig=$(od -An -tx1 -N8 "$1" | tr -d ' \n')
    [ "$sig" = 89504e470d0a1a0a ] || return 1
    od -An -tu1 -j16 -N8 "$1" | awk '{ print $1*16777216 + $2*65536 + $3*256 + $4, $5*16777216 + $6*65536 + $7*256 + $8 }'
}

desktop_value() {
    sed -n "s/^$2=//p" "$1" | head -n 1
}

# Checks an installed tree under <root><prefix> the way a desktop reads it.
check_tree() {
    local root=$1 where=$2 prefix=${3:-$prefix}
    local share=$root$prefix/$datadir
    local desktop=$share/applications/$app.desktop
    echo "== $where: $root$prefix"

    if [ ! -f "$desktop" ]; then
        fail "$where: no desktop entry at $desktop"
        return
    fi
    local out
    if ! out=$(desktop-file-validate "$desktop" 2>&1); then
        fail "$where: desktop-file-validate: $out"
    fi
    echo "desktop-file-validate: ${out:-no messages}"
    grep -q '^Name=qxOrvanta Trainer$' "$desktop" || fail "$where: desktop entry has the wrong Name"
    grep -q '^Categories=Game;CardGame;Education;$' "$desktop" || fail "$where: desktop entry has the wrong Categories"

    # Exec is a bare name the menu resolves through PATH, so the binary must sit in the prefix's bindir.
    local exec
    exec=$(desktop_value "$desktop" Exec)
    exec=${exec%% *}
    [[ $exec != */* ]] || fail "$where: Exec should be a bare name, is $exec"
    [ -x "$root$prefix/$bindir/$exec" ] || fail "$where: Exec=$exec is not an executable in $prefix/$bindir"

    # Icon is a theme name: the hicolor theme must hold it at 48 pixels, and every size installed must
    # really be that size.
    local icon size dims found48=no
    icon=$(desktop_value "$desktop" Icon)
    for png in "$share"/icons/hicolor/*/apps/"$icon".png; do
        [ -e "$png" ] || continue
        size=$(basename "$(dirname "$(dirname "$png")")")
        dims=$(png_size "$png") || {
            fail "$where: $png is not a PNG"
            continue
        }
        # "48x48@2" holds a 96 by 96 picture for screens at twice the density.
        local scale=1 nominal=${size%@*}
        [[ $size == *@* ]] && scale=${size#*@}
        [ "$((${dims% *} / scale))x$((${dims#* } / scale))" = "$nominal" ] &&
            [ $((${dims% *} % scale)) -eq 0 ] || fail "$where: $png is ${dims/ /x}, not $size"
        [ "$size" = 48x48 ] && found48=yes
    done
    [ $found48 = yes ] || fail "$where: no 48x48 icon named $icon in the hicolor theme"

    # The metainfo names the same desktop entry and binary, and validates offline.
    local metainfo
    metainfo=$(ls "$share"/metainfo/*.metainfo.xml 2>/dev/null | head -n 1) || true
    if [ -z "$metainfo" ]; then
        fail "$where: no metainfo in $share/metainfo"
    else
        if ! out=$(appstreamcli validate --no-net "$metainfo" 2>&1); then
            fail "$where: appstreamcli validate: $out"
        fi
        echo "appstreamcli validate --no-net: $out"
        grep -q "<launchable type=\"desktop-id\">$app.desktop</launchable>" "$metainfo" ||
            fail "$where: metainfo does not launch $app.desktop"
        grep -q "<binary>$exec</binary>" "$metainfo" || fail "$where: metainfo does not provide $exec"
    fi

    # The help button falls back to the program's data folder.
    [ -f "$share/$app/qxOrvanta Trainer.htm" ] || fail "$where: no help document in $prefix/$datadir/$app"

    # `man qxorvanta-trainer` finds a page that formats without a warning, with the sections a user
    # looks for.
    local page=$share/man/man1/$app.1.gz
    if [ ! -f "$page" ]; then
        fail "$where: no manual page at $prefix/$datadir/man/man1/$app.1.gz"
    else
        if ! out=$(zcat "$page" | groff -man -Tutf8 -ww -z 2>&1) || [ -n "$out" ]; then
            fail "$where: the manual page does not format cleanly: $out"
        fi
        for section in NAME SYNOPSIS OPTIONS "EXIT STATUS" ENVIRONMENT FILES; do
            zcat "$page" | grep -q "^\.SH \"\?$section\"\?$" || fail "$where: the manual page has no $section"
        done
    fi

    # Nothing else: no build tool, test program, library or header lands on the user's system.
    local stray
    stray=$(cd "$root$prefix" && find . -type f | sed 's|^\./||' | grep -v -E \
        "^($bindir/$app|$datadir/(applications/$app\.desktop|icons/hicolor/[^/]+/apps/$icon\.png|metainfo/[^/]+\.metainfo\.xml|$app/.*|man/man1/$app\.1\.gz|doc/$app/(copyright|changelog\.gz)))$") || true
    [ -z "$stray" ] || fail "$where: unexpected files installed: $(echo $stray)"
}

case $mode in
install)
    DESTDIR=$scratch/root cmake --install "$build" >/dev/null
    check_tree "$scratch/root" "cmake --install"
    ;;
deb)
    for tool in cpack dpkg-deb dpkg-shlibdeps file lintian groff; do
        if ! command -v $tool >/dev/null; then
            echo "skipped: $tool is not installed"
            exit 77
        fi
    done
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch/cpack" >"$scratch/cpack.log" 2>&1 || {
        cat "$scratch/cpack.log"
        exit 1
    }
    deb=$(ls "$scratch"/cpack/"$app"_*.deb)
    echo "package: $(basename "$deb")"
    dpkg-deb -I "$deb"

    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = "$app" ] || fail "package name is $(field Package)"
    [ "$(field Version)" = 1.0.0 ] || fail "package version is $(field Version)"
    [ "$(field Section)" = education ] || fail "package section is $(field Section)"
    [ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "package architecture is $(field Architecture)"
    depends=$(field Depends)
    depends_on() { [[ ", $depends," == *", $1 "* || ", $depends," == *", $1,"* ]]; }
    depends_on fonts-liberation || fail "package does not depend on fonts-liberation"
    # Help opens through xdg-open; without it the program names the file instead.
    [[ ", $(field Recommends)," == *", xdg-utils,"* ]] || fail "package does not recommend xdg-utils"

    # Debian's own checker: no error, no warning; the informational tags are shown.
    lintian_out=$(lintian -i -I -E --pedantic --tag-display-limit 0 "$deb" 2>&1) || true
    echo "lintian -I -E --pedantic:"
    echo "${lintian_out:-  no tags}" | grep -E '^[EWIPX]:' || echo "  no tags"
    if echo "$lintian_out" | grep -qE '^[EW]:'; then
        fail "lintian reports errors or warnings: $(echo "$lintian_out" | grep -E '^[EW]:' | tr '\n' ' ')"
    fi

    dpkg -x "$deb" "$scratch/debroot"
    check_tree "$scratch/debroot" "dpkg -x" /usr

    # Every library the binary links must come with the package's dependencies.
    binary=$scratch/debroot/usr/$bindir/$app
    if [ -x "$binary" ]; then
        for lib in $(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
            # The file the loader picks, and the package that owns it (dpkg may list it under /lib or
            # /usr/lib, so compare resolved paths).
            path=$(ldd "$binary" | awk -v lib="$lib" '$1 == lib { print $3 }')
            owner=
            while IFS= read -r line; do
                if [ "$(readlink -f "${line#*: }")" = "$(readlink -f "$path")" ]; then
                    owner=${line%%:*}
                    break
                fi
            done < <(dpkg -S "*/$lib" 2>/dev/null)
            if [ -z "$owner" ]; then
                fail "no Debian package provides $lib"
            elif ! depends_on "$owner"; then
                fail "the binary links $lib from $owner, which the package does not depend on"
            fi
        done
    fi

    # The package holds what `cmake --install` installs, no more and no less, owned by root.
    DESTDIR=$scratch/root cmake --install "$build" >/dev/null
    if ! out=$(diff <(cd "$scratch/root$prefix" && find . -type f | sort) <(cd "$scratch/debroot/usr" && find . -type f | sort)); then
        fail "the package's files differ from cmake --install's: $out"
    fi
    if dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep -q .; then
        fail "files in the package not owned by root"
    fi
    ;;
*)
    echo "usage: $0 install|deb <build-dir> <bindir> <datadir>" >&2
    exit 2
    ;;
esac

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
