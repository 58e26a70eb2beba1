#!/usr/bin/env python3
"""The include check catches a layer edge pointing up: a copy of the product folders with one
display header planted in a host file must fail the check, naming that file, while the
untouched copy passes."""
import pathlib
import shutil
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).with_name("check_includes.py")
FOLDERS = ["app", "host", "display", "examples", "platform", "tools"]


def run_check(root):
    return subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)


def main(source_root):
    with tempfile.TemporaryDirectory() as temp:
        copy = pathlib.Path(temp)
        for folder in FOLDERS:
            shutil.copytree(pathlib.Path(source_root) / folder, copy / folder)
        clean = run_check(copy)
        if clean.returncode != 0:
            print("the untouched copy fails the check:\n" + clean.stdout)
            return 1
        planted = copy / "host" / "main_window.cpp"
        planted.write_text('#include "display/display_engine.h"\n' + planted.read_text())
        result = run_check(copy)
        if result.returncode != 1 or "host/main_window.cpp" not in result.stdout:
            print("a display header planted in host/ passed the check:\n" + result.stdout)
            return 1
    print("planted include refused")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
