#!/usr/bin/env python3
"""The guides' snippet check catches what it is for.

Each case writes one small guide into a small tree (a source file, a script, a CMake file
that makes a program) and runs check_snippets.py on it: a quote that matches passes, and
every kind of drift fails with its own message. Last, a copy of the real guide with one quoted
line changed must fail against the real tree. Usage: check_snippets_test.py ROOT
"""
import pathlib
import re
import subprocess
import sys
import tempfile

HERE = pathlib.Path(__file__).resolve().parent
CHECK = HERE / "check_snippets.py"

SOURCE = """\
int main() {
  int a = 1;
  int b = 2;
  return a + b;
}
"""

CMAKE = "add_program(hello SOURCES hello.cpp LIBRARIES display)\n"


def guide(marker, block, fence="```cpp"):
    return f"# A guide\n\nSome words.\n\n{marker}\n{fence}\n{block}```\n"


QUOTE = "<!-- from: examples/hello/hello.cpp -->"
COMMANDS = "<!-- commands -->"

# (name, guide text, expected status, text the output must hold)
CASES = [
    ("a quote as in its file", guide(QUOTE, "int a = 1;\nint b = 2;\n"), 0, "ok: guide.md"),
    ("a quote with a part left out",
     guide(QUOTE, "int main() {\n// ...\n  return a + b;\n"), 0, "ok:"),
    ("a changed line", guide(QUOTE, "int a = 1;\nint b = 3;\n"),
     1, "no longer matches examples/hello/hello.cpp"),
    ("lines that are not consecutive in the file",
     guide(QUOTE, "int a = 1;\nreturn a + b;\n"), 1, "no longer matches"),
    ("parts in the wrong order",
     guide(QUOTE, "return a + b;\n// ...\nint a = 1;\n"), 1, "(part 2 of 2)"),
    ("a left-out part at the end", guide(QUOTE, "int a = 1;\n// ...\n"), 1, "left-out part"),
    ("a block without a marker", "# A guide\n\n```cpp\nint a = 1;\n```\n", 1, "without a source"),
    ("a marker with a blank line after it",
     f"# A guide\n\n{QUOTE}\n\n```cpp\nint a = 1;\n```\n", 1, "without a source"),
    ("a quote from a file that is gone",
     guide("<!-- from: examples/hello/gone.cpp -->", "int a = 1;\n"),
     1, "examples/hello/gone.cpp does not exist"),
    ("commands that name what exists",
     guide(COMMANDS, "bash scripts/build.sh\ncmake --build out --target hello\n"
                     "build/release/examples/hello/hello\n", "```sh"), 0, "ok:"),
    ("a script that is gone", guide(COMMANDS, "bash scripts/gone.sh\n", "```sh"),
     1, "the script scripts/gone.sh does not exist"),
    ("a target that is gone", guide(COMMANDS, "cmake --build out --target bye\n", "```sh"),
     1, "no target of the build is called bye"),
    ("a built program its folder does not make",
     guide(COMMANDS, "wine build/windows/examples/hello/bye.exe\n", "```sh"),
     1, "examples/hello/CMakeLists.txt makes no program called bye"),
    ("a path in the text that is gone",
     "# A guide\n\nSee `examples/hello/gone.cpp` and `examples/hello/hello.cpp`.\n",
     1, "the path examples/hello/gone.cpp does not exist"),
    ("an indented code block", "# A guide\n\nSome words.\n\n    int a = 1;\n", 1, "indented code"),
    ("a block never closed", f"# A guide\n\n{QUOTE}\n```cpp\nint a = 1;\n", 1, "never closed"),
]


def run_check(root, *docs):
    result = subprocess.run([sys.executable, str(CHECK), str(root), *map(str, docs)],
                            capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def main(argv):
    failures = []
    with tempfile.TemporaryDirectory() as temp:
        root = pathlib.Path(temp)
        (root / "examples" / "hello").mkdir(parents=True)
        (root / "examples" / "hello" / "hello.cpp").write_text(SOURCE)
        (root / "examples" / "hello" / "CMakeLists.txt").write_text(CMAKE)
        (root / "scripts").mkdir()
        (root / "scripts" / "build.sh").write_text("#!/bin/sh\n")
        doc = root / "guide.md"
        for name, text, expected, output_holds in CASES:
            doc.write_text(text)
            status, output = run_check(root, doc)
            if status != expected or output_holds not in output:
                failures.append(f"{name}: status {status} (expected {expected}), output:\n{output}")

        # The real guide with one quoted line changed.
        real_root = pathlib.Path(argv[1]).resolve()
        real_guide = real_root / "docs" / "writing-a-program.md"
        text = real_guide.read_text(encoding="utf-8")
        status, output = run_check(real_root, real_guide)
        if status != 0:
            failures.append(f"the real guide does not pass:\n{output}")
        planted = re.sub(r"(<!-- from: [^\n]+\n```cpp\n[^\n]*?)(\w+)\(", r"\1\2Changed(", text,
                         count=1)
        if planted == text:
            failures.append("found no quoted call in the real guide to change")
        else:
            copy = root / "planted.md"
            copy.write_text(planted, encoding="utf-8")
            status, output = run_check(real_root, copy)
            if status != 1 or "no longer matches" not in output:
                failures.append(f"a changed quote in the real guide passed:\n{output}")

    for failure in failures:
        print(f"FAILED: {failure}")
    print(f"{len(CASES) + 1 - len(failures)} of {len(CASES) + 1} cases as expected")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
