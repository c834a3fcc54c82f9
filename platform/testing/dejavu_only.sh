#!/usr/bin/env bash
# Runs a window test as a fresh Debian machine shows it: a fontconfig that sees only the DejaVu
# faces, written here for this run, so the layouts are also checked where the design's face and
# its metric twins are missing.
#   dejavu_only.sh TEST_EXECUTABLE [ARGS...]
set -euo pipefail
dejavu=/usr/share/fonts/truetype/dejavu
if [ ! -d "$dejavu" ]; then
    echo "no DejaVu fonts in $dejavu" >&2
    exit 1
fi
conf_dir="$(mktemp -d)"
trap 'rm -rf "$conf_dir"' EXIT
cat >"$conf_dir/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$dejavu</dir>
  <cachedir>$conf_dir/cache</cachedir>
  <include ignore_missing="yes">/etc/fonts/conf.d</include>
  <selectfont>
    <acceptfont><glob>$dejavu/*</glob></acceptfont>
    <rejectfont><glob>*</glob></rejectfont>
  </selectfont>
</fontconfig>
CONF
export FONTCONFIG_FILE="$conf_dir/fonts.conf"
export QT_QPA_PLATFORM=offscreen
"$@"
