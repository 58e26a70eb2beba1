#!/usr/bin/env python3
"""The layer rules catch an edge pointing the wrong way, both in the source check and in the
build. For each planted include below, a copy of the product folders with that one line added
must fail check_includes.py, naming the file, while the untouched copy passes; and, given the
build folder, the planted file compiled with its own target's flags (from
compile_commands.json) must fail, because its target does not see the header at all."""
import json
import pathlib
import shlex
import shutil
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).with_name("check_includes.py")
FOLDERS = ["demo", "host", "display", "examples", "platform", "tools"]

# (file to plant in, the include that crosses a forbidden edge)
PLANTS = [
    # host sits under display
    ("host/main_window.cpp", "display/display_engine.h"),
    # compat's DirectDraw reaches the screens only through the seam, never their core
    ("platform/compat/ddraw_surface.cpp", "platform/screen_core/presenting_screen.h"),
    # the Win32 subset knows nothing of the real screen
    ("platform/compat/user32_messages.cpp", "platform/sdl/sdl_screen.h"),
]


def run_check(root):
    return subprocess.run([sys.executable, str(CHECK), str(root)], capture_output=True, text=True)


def planted_text(source, include):
    return f'#include "{include}"\n' + source.read_text(encoding="utf-8")


def source_check_refuses(source_root, relative, include):
    with tempfile.TemporaryDirectory() as temp:
        copy = pathlib.Path(temp)
        for folder in FOLDERS:
            shutil.copytree(pathlib.Path(source_root) / folder, copy / folder)
        planted = copy / relative
        planted.write_text(planted_text(planted, include), encoding="utf-8")
        result = run_check(copy)
        if result.returncode != 1 or relative not in result.stdout:
            print(f"{include} planted in {relative} passed the source check:\n{result.stdout}")
            return False
    return True


def build_refuses(source_root, build_dir, relative, include):
    commands = json.loads((pathlib.Path(build_dir) / "compile_commands.json").read_text())
    wanted = (pathlib.Path(source_root) / relative).resolve()
    entry = next((c for c in commands if pathlib.Path(c["file"]).resolve() == wanted), None)
    if entry is None:
        print(f"{relative}: not in {build_dir}/compile_commands.json")
        return False
    with tempfile.TemporaryDirectory() as temp:
        planted = pathlib.Path(temp) / pathlib.Path(relative).name
        planted.write_text(planted_text(pathlib.Path(source_root) / relative, include),
                           encoding="utf-8")
        arguments = shlex.split(entry["command"]) if "command" in entry else entry["arguments"]
        # the same compiler and flags, on the planted copy, checking syntax only
        kept, skip = [], False
        for argument in arguments:
            if skip:
                skip = False
                continue
            if argument in ("-o", "-c", "-MF", "-MT", "-MQ"):
                skip = argument != "-c"
                continue
            if argument in ("-MD", "-MMD") or pathlib.Path(argument).name == wanted.name:
                continue
            kept.append(argument)
        result = subprocess.run(kept + ["-fsyntax-only", str(planted)], cwd=entry["directory"],
                                capture_output=True, text=True)
        if result.returncode == 0 or include not in result.stderr:
            print(f"{include} planted in {relative} compiled in its target:\n{result.stderr}")
            return False
        # and the untouched file compiles with the same command, so the failure is the plant's
        planted.write_text((pathlib.Path(source_root) / relative).read_text(encoding="utf-8"),
                           encoding="utf-8")
        clean = subprocess.run(kept + ["-fsyntax-only", str(planted)], cwd=entry["directory"],
                               capture_output=True, text=True)
        if clean.returncode != 0:
            print(f"{relative} does not compile as copied:\n{clean.stderr}")
            return False
    return True


def main(source_root, build_dir=None):
    with tempfile.TemporaryDirectory() as temp:
        copy = pathlib.Path(temp)
        for folder in FOLDERS:
            shutil.copytree(pathlib.Path(source_root) / folder, copy / folder)
        clean = run_check(copy)
        if clean.returncode != 0:
            print("the untouched copy fails the check:\n" + clean.stdout)
            return 1
    failed = False
    for relative, include in PLANTS:
        failed |= not source_check_refuses(source_root, relative, include)
        if build_dir is not None:
            failed |= not build_refuses(source_root, build_dir, relative, include)
    if failed:
        return 1
    print(f"{len(PLANTS)} planted includes refused" + (" by the check and the build" if build_dir else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:3]))
