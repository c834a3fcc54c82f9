#!/usr/bin/env bash
# Installs the build folder $1 into a temporary prefix and checks the layout: exactly the
# expected files, icons of the sizes their folders name, both programs printing version $2,
# and, where the tools are present, the desktop entry, AppStream metadata and man pages
# passing their validators.
set -euo pipefail
build="$1"
version="$2"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
fail() {
    echo "install layout: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
icon_sizes=(16 22 24 32 48 64 128 256)
expected=(bin/quarn3d bin/quarn3d-cli
          share/applications/org.quarn3d.Quarn3D.desktop
          share/metainfo/org.quarn3d.Quarn3D.metainfo.xml
          share/icons/hicolor/scalable/apps/quarn3d.svg
          share/man/man1/quarn3d.1.gz share/man/man1/quarn3d-cli.1.gz
          share/quarn3d/document.txt share/quarn3d/island.bmp share/quarn3d/valley.bmp
          share/doc/quarn3d/copyright share/doc/quarn3d/changelog.Debian.gz)
for size in "${icon_sizes[@]}"; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/quarn3d.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$prefix" && find . -type f | cut -c3- | sort) ||
    fail "installed files differ from the expected ones (< expected, > installed)"

for size in "${icon_sizes[@]}"; do
    # A PNG's width and height are the big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 \
        "$prefix/share/icons/hicolor/${size}x${size}/apps/quarn3d.png")
    [ "$width $height" = "$size $size" ] || fail "the ${size}x${size} icon is ${width}x${height}"
done

# The documentation window looks for the guide here when the current folder has none.
[ -f "$prefix/bin/../share/quarn3d/document.txt" ] || fail "no guide beside bin/"
[ "$("$prefix/bin/quarn3d-cli" --version)" = "quarn3d-cli $version" ] || fail "quarn3d-cli --version"
[ "$("$prefix/bin/quarn3d" --version)" = "quarn3d $version" ] || fail "quarn3d --version"
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/org.quarn3d.Quarn3D.metainfo.xml" ||
    fail "the AppStream release is not $version"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/share/applications/org.quarn3d.Quarn3D.desktop"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/share/metainfo/org.quarn3d.Quarn3D.metainfo.xml" >&2 ||
        fail "appstreamcli refuses the metadata"
fi
if command -v man >/dev/null; then
    for page in quarn3d quarn3d-cli; do
        warnings="$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
        [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
    done
fi
