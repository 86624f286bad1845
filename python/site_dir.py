"""Prints the folder, relative to an install prefix, in which this interpreter
finds packages installed below that prefix.

    python3 site_dir.py /usr        ->  lib/python3/dist-packages (Debian)
    python3 site_dir.py /usr/local  ->  lib/python3.11/dist-packages
    python3 site_dir.py ~/.local    ->  lib/python3.11/site-packages

Used by cmake --install for the abrivo package.
"""

import os
import site
import sys
import sysconfig


def site_dir(prefix: str) -> str:
    prefix = os.path.abspath(prefix)
    searched = list(sys.path)
    if site.ENABLE_USER_SITE:
        searched.append(site.getusersitepackages())
    for path in searched:
        if os.path.basename(path) not in ("dist-packages", "site-packages"):
            continue
        relative = os.path.relpath(os.path.abspath(path), prefix)
        # lib/... directly below the prefix: /usr/local/lib/... is not /usr's.
        if relative.split(os.sep)[0] == "lib":
            return relative
    platlib = sysconfig.get_path(
        "platlib", "posix_prefix", vars={"base": prefix, "platbase": prefix})
    return os.path.relpath(platlib, prefix)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: site_dir.py PREFIX")
    print(site_dir(sys.argv[1]))
