"""cmake --install puts the package where the interpreter finds it below
the prefix, and the installed package works on its own."""

import os
import pathlib
import subprocess
import sys

import pytest

SCRIPT = """
import abrivo, sys
assert abrivo.__file__.startswith(sys.argv[1]), abrivo.__file__
s = abrivo.summarise("The tree is green. The tree is tall. The tree is old. The tree is here.")
assert s.language == "en" and s.summary, s
print(abrivo.__file__)
"""


@pytest.fixture(scope="module")
def build_dir():
    path = os.environ.get("ABRIVO_BUILD_DIR")
    if not path:
        pytest.fail("ABRIVO_BUILD_DIR must name the build directory (tools/test-python.sh sets it)")
    return path


def install(build_dir, prefix, destdir=None):
    env = dict(os.environ)
    if destdir:
        env["DESTDIR"] = str(destdir)
    subprocess.run(["cmake", "--install", build_dir, "--prefix", str(prefix),
                    "--component", "python3-abrivo"], env=env, check=True,
                   capture_output=True)


def package_files(folder):
    return sorted(p.name for p in (folder / "abrivo").iterdir())


def run_installed(site, cwd):
    env = dict(os.environ, PYTHONPATH=str(site))
    return subprocess.run([sys.executable, "-c", SCRIPT, str(site)], env=env, cwd=cwd,
                          capture_output=True, text=True, check=True).stdout


@pytest.mark.parametrize("prefix,site", [
    ("/usr", "lib/python3/dist-packages"),  # where a Debian package puts it
    ("/usr/local", f"lib/python3.{sys.version_info.minor}/dist-packages"),
])
def test_system_prefixes_use_the_interpreters_folders(build_dir, tmp_path, prefix, site):
    install(build_dir, prefix, destdir=tmp_path)
    folder = tmp_path / prefix.lstrip("/") / site
    files = package_files(folder)
    assert len(files) == 4 and files[0:2] == ["__init__.py", "__init__.pyi"], files
    assert files[2].startswith("_abrivo.cpython-") and files[2].endswith(".so"), files
    assert files[3] == "py.typed"
    assert str(pathlib.Path(prefix) / site) in sys.path


def test_an_installed_package_imports_and_summarises(build_dir, tmp_path):
    install(build_dir, tmp_path / "prefix")
    sites = list((tmp_path / "prefix").glob("lib/python3*/*-packages"))
    assert len(sites) == 1, sites
    # Run from an empty folder, with nothing of the source or build tree on the path.
    printed = run_installed(sites[0], cwd=tmp_path)
    assert printed.startswith(str(sites[0]))
