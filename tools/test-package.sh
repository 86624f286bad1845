#!/usr/bin/env bash
# Builds the Debian package from a release build in build/package and checks
# what it holds: the file list, the control fields (Depends computed from the
# linked libraries), the desktop entry, the icon sizes and the manual page.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" dpkg-dev file desktop-file-utils man-db

build=build/package
cmake --preset release -B "$build" -DABRIVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/abrivo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

debs=("$build"/abrivo_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || {
  echo "FAIL: expected one abrivo_*.deb in $build, found: ${debs[*]}" >&2
  exit 1
}
deb=${debs[0]}
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"

# Every file, and nothing else: a stray header or static library would show.
expected_files="./usr/bin/abrivo
./usr/bin/abrivo-cli
./usr/share/applications/abrivo.desktop
./usr/share/icons/hicolor/128x128/apps/abrivo.png
./usr/share/icons/hicolor/16x16/apps/abrivo.png
./usr/share/icons/hicolor/32x32/apps/abrivo.png
./usr/share/icons/hicolor/scalable/apps/abrivo.svg
./usr/share/man/man1/abrivo-cli.1.gz"
actual_files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
diff <(echo "$expected_files") <(echo "$actual_files") >&2 || fail "file list differs (< expected, > packaged)"

# The packaged program names the version the package carries.
version=$(dpkg-deb -f "$deb" Version)
arch=$(dpkg --print-architecture)
printed=$("$unpacked/usr/bin/abrivo-cli" --version) || fail "packaged abrivo-cli --version failed"
[ "$printed" = "abrivo-cli $version" ] || fail "package version $version, program says '$printed'"
[ "$(basename "$deb")" = "abrivo_${version}_${arch}.deb" ] || fail "file name $(basename "$deb")"

# Control fields: exact values, and Depends as dpkg-shlibdeps writes it.
while IFS='|' read -r field pattern; do
  value=$(dpkg-deb -f "$deb" "$field")
  [[ "$value" =~ $pattern ]] || fail "$field is '$value', expected /$pattern/"
done <<EOF
Package|^abrivo$
Architecture|^$arch$
Maintainer|^Abrivo developers <abrivo@example\.org>$
Section|^text$
Description|^[^[:space:]].*
Depends|(^|, )libc6 \(>= [^)]+\)
Depends|(^|, )libqt6widgets6 \(>= [^)]+\)
EOF

# Hints are advice; warnings and errors are not.
entry="$unpacked/usr/share/applications/abrivo.desktop"
problems=$(desktop-file-validate "$entry" | grep -v ': hint: ' || true)
[ -z "$problems" ] || fail "desktop-file-validate: $problems"

for size in 16 32 128; do
  icon="$unpacked/usr/share/icons/hicolor/${size}x${size}/apps/abrivo.png"
  [[ $(file -b "$icon") == *"PNG image data, $size x $size,"* ]] || fail "$icon is not a ${size}x$size PNG"
done

# The manual page renders without a single troff warning.
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 \
  -l "$unpacked/usr/share/man/man1/abrivo-cli.1.gz" 2>&1 >/dev/null) || fail "man cannot render the page"
[ -z "$warnings" ] || fail "man page: $warnings"

if [ "$failures" -ne 0 ]; then
  echo "$failures package check(s) failed for $deb" >&2
  exit 1
fi
echo "Package checks passed: $deb"
