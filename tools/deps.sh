# Sourced by run.sh and test.sh: installs the Debian packages a script needs.
# As root, missing packages are installed with apt-get; otherwise the exact
# command to run is printed and the script stops.

# Packages that building and running the program need (Qt's translations
# make the window's standard menus and dialogs follow the locale).
ABRIVO_BUILD_PACKAGES=(g++ cmake ninja-build pkg-config qt6-base-dev nlohmann-json3-dev
  qt6-translations-l10n)
# The Python module, its tests, the Dask example and the GNU parallel recipe.
ABRIVO_PYTHON_PACKAGES=(pybind11-dev python3-dev python3-pybind11 python3-pytest python3-dask
  python3-distributed parallel)

abrivo_require_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]} ..." >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
}
