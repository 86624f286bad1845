#!/usr/bin/env bash
# The Python module's tests (tests/python, pytest): the module against
# abrivo-cli, summarise_many, threads, the installed package, the Dask
# example on a local cluster and the README's GNU parallel recipe.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
abrivo_require_packages "${ABRIVO_BUILD_PACKAGES[@]}" libgtest-dev "${ABRIVO_PYTHON_PACKAGES[@]}"

# The option is on when pybind11 is found; say so, since a build directory
# configured before pybind11 was installed keeps it off.
cmake --preset debug -DABRIVO_BUILD_PYTHON=ON >/dev/null
cmake --build --preset debug --target abrivo_python abrivo-cli

export PYTHONPATH="$PWD/build/debug/python${PYTHONPATH:+:$PYTHONPATH}"
export ABRIVO_CLI="$PWD/build/debug/cli/abrivo-cli"
export ABRIVO_BUILD_DIR="$PWD/build/debug"
# pytest exits 5 when it collects no test; that is a failure too, as is
# any other status but 0.
/usr/bin/python3 -m pytest -q -p no:cacheprovider tests/python "$@"
