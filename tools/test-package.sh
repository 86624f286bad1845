#!/usr/bin/env bash
# Builds the Debian packages from a release build in build/package and checks
# what they hold:
#   abrivo         the programs: file list, control fields (Depends computed
#                  from the linked libraries), the desktop entry, the icon
#                  sizes and the manual page;
#   libabrivo1     the shared library: file list, SONAME, only the public API
#                  exported, shlibs file, Depends;
#   libabrivo-dev  header, CMake package and pkg-config file, Depends on
#                  exactly this libabrivo1; a program builds with pkg-config
#                  against the two unpacked packages and runs;
#   python3-abrivo the Python module: file list, Depends, and the unpacked
#                  module imports and summarises.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" dpkg-dev file desktop-file-utils man-db binutils \
  pybind11-dev python3-dev

build=build/package
cmake --preset release -B "$build" -DABRIVO_BUILD_TESTS=OFF -DABRIVO_BUILD_PYTHON=ON >/dev/null
cmake --build "$build"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# One .deb of each package, and no other.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
arch=$(dpkg --print-architecture)
expected_debs="abrivo_${version}_$arch.deb
libabrivo-dev_${version}_$arch.deb
libabrivo1_${version}_$arch.deb
python3-abrivo_${version}_$arch.deb"
actual_debs=$(cd "$build" && ls -1 -- *.deb | LC_ALL=C sort)
[ "$actual_debs" = "$expected_debs" ] || {
  echo "FAIL: expected in $build:" $expected_debs "; found:" $actual_debs >&2
  exit 1
}
deb=$build/abrivo_${version}_$arch.deb
libdeb=$build/libabrivo1_${version}_$arch.deb
devdeb=$build/libabrivo-dev_${version}_$arch.deb
pydeb=$build/python3-abrivo_${version}_$arch.deb

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unpacked=$work/abrivo
dpkg-deb -x "$deb" "$unpacked"

# files DEB: every file and link of a package ("path -> target" for links).
files() {
  dpkg-deb -c "$1" | awk '$1 !~ /^d/ { $1 = $2 = $3 = $4 = $5 = ""; sub(/^ +/, ""); print }' |
    LC_ALL=C sort
}
# fields DEB: checks the control fields named by FIELD|REGEX lines on stdin.
fields() {
  local field pattern value
  while IFS='|' read -r field pattern; do
    value=$(dpkg-deb -f "$1" "$field")
    [[ "$value" =~ $pattern ]] || fail "$(basename "$1"): $field is '$value', expected /$pattern/"
  done
}

# --- abrivo: the programs ---------------------------------------------------

# Every file, and nothing else: a stray header or library would show.
expected_files="./usr/bin/abrivo
./usr/bin/abrivo-cli
./usr/share/applications/abrivo.desktop
./usr/share/icons/hicolor/128x128/apps/abrivo.png
./usr/share/icons/hicolor/16x16/apps/abrivo.png
./usr/share/icons/hicolor/32x32/apps/abrivo.png
./usr/share/icons/hicolor/scalable/apps/abrivo.svg
./usr/share/man/man1/abrivo-cli.1.gz"
diff <(echo "$expected_files") <(files "$deb") >&2 || fail "abrivo: file list differs (< expected, > packaged)"

# The packaged program names the version the package carries.
printed=$("$unpacked/usr/bin/abrivo-cli" --version) || fail "packaged abrivo-cli --version failed"
[ "$printed" = "abrivo-cli $version" ] || fail "package version $version, program says '$printed'"

# Control fields: exact values, and Depends as dpkg-shlibdeps writes it. The
# programs link the engine statically, so they do not depend on libabrivo1.
fields "$deb" <<EOF
Package|^abrivo$
Version|^$version$
Architecture|^$arch$
Maintainer|^Abrivo developers <abrivo@example\.org>$
Section|^text$
Description|^[^[:space:]].*
Depends|(^|, )libc6 \(>= [^)]+\)
Depends|(^|, )libqt6widgets6 \(>= [^)]+\)
EOF
[[ $(dpkg-deb -f "$deb" Depends) != *libabrivo* ]] || fail "abrivo depends on libabrivo"

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

# --- libabrivo1: the shared library -----------------------------------------

lib_files="./usr/lib/libabrivo.so.1 -> libabrivo.so.$version
./usr/lib/libabrivo.so.$version"
diff <(echo "$lib_files") <(files "$libdeb") >&2 || fail "libabrivo1: file list differs (< expected, > packaged)"

fields "$libdeb" <<EOF
Package|^libabrivo1$
Version|^$version$
Architecture|^$arch$
Section|^libs$
Description|^[^[:space:]].*
Depends|(^|, )libc6 \(>= [^)]+\)
Depends|(^|, )libstdc\+\+6 \(>= [^)]+\)
EOF

# The shlibs file makes programs built against the library depend on it.
mkdir "$work/control"
dpkg-deb -e "$libdeb" "$work/control"
shlibs=$(cat "$work/control/shlibs" 2>/dev/null || true)
[ "$shlibs" = "libabrivo 1 libabrivo1 (>= $version)" ] || fail "libabrivo1: shlibs is '$shlibs'"
grep -q '^[[:space:]]*ldconfig' "$work/control/postinst" || fail "libabrivo1: postinst does not run ldconfig"

root=$work/root  # both library packages, as they would be installed
dpkg-deb -x "$libdeb" "$root"
dpkg-deb -x "$devdeb" "$root"
so=$root/usr/lib/libabrivo.so.$version
soname=$(objdump -p "$so" | awk '$1 == "SONAME" { print $2 }')
[ "$soname" = "libabrivo.so.1" ] || fail "libabrivo1: SONAME is '$soname'"
# Only the public API is exported, under the version node ABRIVO_1; the
# engine's internals stay hidden.
exported=$(nm -D --defined-only "$so" | awk '{ print $3 }')
stray=$(echo "$exported" | grep -v '@@ABRIVO_1$' | grep -vx 'ABRIVO_1' || true)
[ -z "$stray" ] || fail "libabrivo1 exports symbols outside ABRIVO_1: $stray"
api=$(echo "$exported" | sed 's/@@ABRIVO_1$//' | c++filt | grep -vx 'ABRIVO_1' | LC_ALL=C sort -u)
for wanted in 'abrivo::summarise(abrivo::Request const&)' 'abrivo::version()' \
  'typeinfo for abrivo::Cancelled' 'typeinfo for abrivo::InvalidText'; do
  grep -qxF "$wanted" <<<"$api" || fail "libabrivo1 does not export $wanted"
done
outside=$(grep -v '^\(typeinfo for \|typeinfo name for \|vtable for \)\?abrivo::' <<<"$api" || true)
[ -z "$outside" ] || fail "libabrivo1 exports names outside abrivo::: $outside"
internal=$(grep -E 'abrivo::(Engine|Table|boundary|gbk)|abrivo::[a-z]+Text\(' <<<"$api" || true)
[ -z "$internal" ] || fail "libabrivo1 exports internals: $internal"

# --- libabrivo-dev: building against the library ---------------------------

dev_files="./usr/include/abrivo/abrivo.h
./usr/lib/cmake/Abrivo/AbrivoConfig.cmake
./usr/lib/cmake/Abrivo/AbrivoConfigVersion.cmake
./usr/lib/cmake/Abrivo/AbrivoTargets-release.cmake
./usr/lib/cmake/Abrivo/AbrivoTargets.cmake
./usr/lib/libabrivo.so -> libabrivo.so.1
./usr/lib/pkgconfig/abrivo.pc"
diff <(echo "$dev_files") <(files "$devdeb") >&2 || fail "libabrivo-dev: file list differs (< expected, > packaged)"

fields "$devdeb" <<EOF
Package|^libabrivo-dev$
Version|^$version$
Architecture|^$arch$
Section|^libdevel$
Description|^[^[:space:]].*
Depends|^libabrivo1 \(= $version\)$
EOF

# The pkg-config file of the unpacked tree points into that tree, and a
# program built with it links the packaged library and runs.
export PKG_CONFIG_PATH=$root/usr/lib/pkgconfig
[ "$(pkg-config --modversion abrivo)" = "$version" ] || fail "abrivo.pc: version $(pkg-config --modversion abrivo)"
cat >"$work/hello.cpp" <<'EOF'
#include <abrivo/abrivo.h>

#include <iostream>

int main() {
  abrivo::Request request;
  request.article = "The fishing fleet came home early. The weather turned. The fleet was safe.";
  abrivo::Summary s = abrivo::summarise(request);
  std::cout << abrivo::version() << '|' << (s.language == abrivo::Language::English) << '|'
            << s.status << '\n';
}
EOF
# shellcheck disable=SC2046 # pkg-config prints several words
if g++ -std=c++17 -Wall -Wextra -Werror -o "$work/hello" "$work/hello.cpp" $(pkg-config --cflags --libs abrivo); then
  needed=$(objdump -p "$work/hello" | awk '$1 == "NEEDED" { print $2 }')
  grep -qx 'libabrivo.so.1' <<<"$needed" || fail "a program built with abrivo.pc does not need libabrivo.so.1"
  said=$(LD_LIBRARY_PATH=$root/usr/lib "$work/hello") || fail "the program built against the packages failed"
  [[ "$said" == "$version|1|原文"* ]] || fail "the program built against the packages said '$said'"
else
  fail "a C++17 program does not build with pkg-config --cflags --libs abrivo"
fi

# --- python3-abrivo: the Python module ----------------------------------------

site=usr/lib/python3/dist-packages
so=$(files "$pydeb" | grep -o '_abrivo\.cpython-[^/]*\.so$' || true)
[ -n "$so" ] || fail "python3-abrivo: no compiled module"
expected_files="./$site/abrivo/__init__.py
./$site/abrivo/__init__.pyi
./$site/abrivo/$so
./$site/abrivo/py.typed"
diff <(echo "$expected_files") <(files "$pydeb") >&2 ||
  fail "python3-abrivo: file list differs (< expected, > packaged)"
pyversion=$(/usr/bin/python3 -c 'import sys; print("%d\\.%d" % sys.version_info[:2])')
fields "$pydeb" <<EOF
Package|^python3-abrivo$
Section|^python$
Depends|(^|, )python3 \(>= $pyversion\)
Depends|(^|, )libstdc\+\+6 \(>= [^)]+\)
EOF
dpkg-deb -x "$pydeb" "$work/python"
said=$(PYTHONPATH=$work/python/$site /usr/bin/python3 -c '
import abrivo
print(abrivo.__file__, abrivo.summarise("The tree is green. The tree is tall. The tree is old.").language)') ||
  fail "python3-abrivo: the unpacked module does not import"
[[ "$said" == "$work/python/$site/abrivo/__init__.py en" ]] || fail "python3-abrivo: the module said '$said'"

if [ "$failures" -ne 0 ]; then
  echo "$failures package check(s) failed" >&2
  exit 1
fi
echo "Package checks passed: $(basename "$deb"), $(basename "$libdeb"), $(basename "$devdeb"), $(basename "$pydeb")"
