#!/usr/bin/env bash
# check-package.sh CPACK CPACK_CONFIG WORK_DIR VERSION PLUGIN_DIR WITH_GUI WITH_PNG GUIDE_DIR
# Makes the .deb from the current build with CPack and checks what it holds.
# Exits 77 (skipped) when CPack or the Debian package tools are missing.
set -uo pipefail
cpack=$1 config=$2 work=$3 version=$4 plugin_dir=$5 with_gui=$6 with_png=$7 guide=$8

for tool in "$cpack" dpkg-deb dpkg-shlibdeps readelf; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is not installed (cpack comes with cmake, dpkg-shlibdeps with dpkg-dev, readelf with binutils)" >&2
    exit 77
  fi
done

rm -rf "$work" && mkdir -p "$work"
if ! "$cpack" -G DEB --config "$config" -B "$work" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not make the package" >&2
  exit 1
fi
debs=("$work"/zlm_"$version"-*_*.deb)
if [ ! -f "${debs[0]}" ]; then
  echo "FAIL: no zlm_${version}-REVISION_ARCH.deb in $work: $(ls "$work")" >&2
  exit 1
fi
deb=${debs[0]}

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
listing=$(dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|')

expected=(
  /usr/bin/zlm-batch
  /usr/share/man/man1/zlm-batch.1.gz
  /usr/share/doc/zlm/copyright
  /usr/share/doc/zlm/changelog.Debian.gz
  /usr/share/doc/zlm/samples/one-channel.erd
  /usr/share/doc/zlm/samples/two-channel.erd
  /usr/share/doc/zlm/samples/column-text.dat
  /usr/share/doc/zlm/samples/README.md
)
# The user guide: every page, style sheet and picture of docs/guide.
for page in "$guide"/*.html "$guide"/*.css "$guide"/*.png; do
  expected+=("/usr/share/doc/zlm/guide/$(basename "$page")")
done
if [ "$with_gui" = 1 ]; then
  expected+=(
    /usr/bin/zlm
    "/usr/$plugin_dir/libCorvane_Tallyline.so"
    "/usr/$plugin_dir/libzlm-report.so"
    /usr/share/man/man1/zlm.1.gz
    /usr/share/applications/zlm.desktop
    /usr/share/metainfo/org.evenrule.zlm.metainfo.xml
    /usr/share/mime/packages/zlm.xml
    /usr/share/icons/hicolor/scalable/apps/zlm.svg
  )
  if [ "$with_png" = 1 ]; then
    for size in 48 128 256; do expected+=("/usr/share/icons/hicolor/${size}x${size}/apps/zlm.png"); done
  fi
fi
for path in "${expected[@]}"; do
  grep -qxF -- "$path" <<<"$listing" || fail "$path is not in the package"
done
stray=$(grep -v -e '^/usr/' -e '^/$' <<<"$listing" | grep -v '/$')
[ -z "$stray" ] || fail "files outside /usr: $stray"
grep -q '^/usr/local/' <<<"$listing" && fail "files under /usr/local"

version_field=$(dpkg-deb -f "$deb" Version)
[[ $version_field == "$version"-* ]] || fail "Version is '$version_field', not $version-REVISION"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q 'libc6 (>=' <<<"$depends" || fail "Depends was not computed by dpkg-shlibdeps: '$depends'"
if [ "$with_gui" = 1 ]; then
  grep -q 'libqt6widgets6' <<<"$depends" || fail "Depends lacks Qt Widgets: '$depends'"
fi

# What is inside: man pages and changelog gzip-compressed, programs stripped.
tree="$work/tree"
dpkg-deb -x "$deb" "$tree"
for gz in "$tree"/usr/share/man/man1/*.gz "$tree"/usr/share/doc/zlm/changelog.Debian.gz; do
  gzip -t "$gz" 2>/dev/null || fail "${gz#"$tree"} is not gzip-compressed"
done
# A straightedge run loads no Qt: the report is a module zlm-batch loads for --report only.
readelf -d "$tree/usr/bin/zlm-batch" | grep -q 'NEEDED.*libQt' && fail "zlm-batch links Qt"
for program in "$tree"/usr/bin/*; do
  readelf -S "$program" | grep -q '\.symtab' && fail "${program#"$tree"} is not stripped"
done
if [ "$with_gui" = 1 ]; then
  grep -q 'MimeType=.*application/x-erd-profile' "$tree/usr/share/applications/zlm.desktop" ||
    fail "the desktop entry does not declare the ERD type"
  grep -Eq "<release version=\"$version\" date=\"[0-9]{4}-(0[1-9]|1[0-2])-(0[1-9]|[12][0-9]|3[01])\"" "$tree/usr/share/metainfo/org.evenrule.zlm.metainfo.xml" ||
    fail "the metainfo has no release $version"
fi

[ $failures -eq 0 ] && echo "$(basename "$deb"): every file in place; Depends: $depends"
exit $((failures > 0))
