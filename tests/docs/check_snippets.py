#!/usr/bin/env python3
"""The guides' code blocks, checked against the sources they quote.

Every fenced code block in docs/*.md carries a marker on the line before it:

  <!-- from: PATH -->   the block is quoted from the file PATH of the tree. Its lines must
                        appear there as consecutive lines, each compared without the spaces at
                        its ends (a quote may drop the indentation of its place in the file).
                        A line that is only "// ..." or "# ..." leaves lines out: the pieces
                        around it must appear in the file in that order.
  <!-- commands -->     shell commands for a reader to type. Every script they name must
                        exist, every --target must be a target of the build, and every program
                        run from build/<folder>/ must be made in the source folder it names.

Outside the code blocks, every path of the tree written as `code` must exist, and no line may
be indented into a code block of its own (it would have no marker).

Usage: check_snippets.py ROOT [DOC...]   (without DOC: every ROOT/docs/*.md)
Prints every problem as FILE:LINE: what; status 1 when there is any.
"""
import pathlib
import re
import sys

MARKER = re.compile(r"^<!--\s*(from:\s*(?P<path>\S+)|(?P<commands>commands))\s*-->$")
FENCE = re.compile(r"^(```|~~~)")
ELISION = {"// ...", "# ..."}
# Folders of the tree that a `code` span may name as a path.
TREE_FOLDERS = ("demo/", "bench/", "cmake/", "display/", "docs/", "examples/", "host/",
                "packaging/", "platform/", "scripts/", "tests/", "tools/", "pages/")
TARGET_CALL = re.compile(r"\b(?:add_program|add_executable|add_library)\(\s*([\w.+-]+)")


def stripped_lines(text):
    return [line.strip() for line in text.splitlines()]


def pieces_of(block):
    """The block's lines split at elision lines; each piece is a list of stripped lines."""
    pieces, current = [], []
    for line in block:
        if line.strip() in ELISION:
            pieces.append(current)
            current = []
        else:
            current.append(line.strip())
    pieces.append(current)
    return pieces


def find_run(haystack, run, start):
    """The index of the first occurrence of the lines `run` in `haystack` at or after `start`."""
    for i in range(start, len(haystack) - len(run) + 1):
        if haystack[i:i + len(run)] == run:
            return i
    return -1


def check_quote(root, path, block):
    source = root / path
    if not source.is_file():
        return [f"the quoted file {path} does not exist"]
    pieces = pieces_of(block)
    if any(not piece or all(line == "" for line in piece) for piece in pieces):
        return ["an empty quote, or a left-out part at its start or end"]
    haystack = stripped_lines(source.read_text(encoding="utf-8"))
    position = 0
    for number, piece in enumerate(pieces, 1):
        found = find_run(haystack, piece, position)
        if found < 0:
            where = "" if len(pieces) == 1 else f" (part {number} of {len(pieces)})"
            return [f"the quote{where} no longer matches {path}; first line: {piece[0]!r}"]
        position = found + len(piece)
    return []


def build_targets(root):
    targets = set()
    for cmake_file in root.rglob("CMakeLists.txt"):
        if "build" in cmake_file.relative_to(root).parts:
            continue
        targets.update(TARGET_CALL.findall(cmake_file.read_text(encoding="utf-8")))
    return targets


def check_commands(root, block, targets):
    problems = []
    for line in block:
        words = line.split()
        for i, word in enumerate(words):
            if word.startswith("scripts/") and not (root / word).is_file():
                problems.append(f"the script {word} does not exist")
            if word == "--target":
                for name in words[i + 1:]:
                    if name.startswith("-"):
                        break
                    if name not in targets:
                        problems.append(f"no target of the build is called {name}")
            built = re.fullmatch(r"build/[^/]+/(.+)/([^/]+?)(\.exe|\.html)?", word)
            if built:
                folder, name = built.group(1), built.group(2)
                cmake_file = root / folder / "CMakeLists.txt"
                made = (TARGET_CALL.findall(cmake_file.read_text(encoding="utf-8"))
                        if cmake_file.is_file() else [])
                if name not in made:
                    problems.append(f"{folder}/CMakeLists.txt makes no program called {name}")
    return problems


def check_paths_in_text(root, line):
    problems = []
    for span in re.findall(r"`([^`]+)`", line):
        if span.startswith(TREE_FOLDERS) and " " not in span:
            if not (root / span.rstrip("/")).exists():
                problems.append(f"the path {span} does not exist")
    return problems


def check_document(root, doc, targets):
    problems = []
    lines = doc.read_text(encoding="utf-8").splitlines()
    previous = ""  # the line before, outside a code block
    i = 0
    while i < len(lines):
        line = lines[i]
        if FENCE.match(line):
            opener, start = line[:3], i
            i += 1
            block = []
            while i < len(lines) and not lines[i].startswith(opener):
                block.append(lines[i])
                i += 1
            if i == len(lines):
                problems.append((start + 1, "a code block that is never closed"))
            marker = MARKER.match(previous.strip())
            if not marker:
                problems.append((start + 1, "a code block without a source marker before it"))
            elif marker.group("path"):
                problems += [(start + 1, p) for p in check_quote(root, marker.group("path"), block)]
            else:
                problems += [(start + 1, p) for p in check_commands(root, block, targets)]
            previous = ""
        else:
            if re.match(r"^( {4}|\t)", line) and previous.strip() == "":
                problems.append((i + 1, "an indented code block (use a fenced one with a marker)"))
            problems += [(i + 1, p) for p in check_paths_in_text(root, line)]
            previous = line
        i += 1
    return problems


def main(argv):
    if len(argv) < 2:
        print("usage: check_snippets.py ROOT [DOC...]", file=sys.stderr)
        return 2
    root = pathlib.Path(argv[1]).resolve()
    docs = [pathlib.Path(a) for a in argv[2:]] or sorted((root / "docs").glob("*.md"))
    if not docs:
        print(f"check_snippets: no guides under {root / 'docs'}")
        return 1
    targets = build_targets(root)
    failed = False
    for doc in docs:
        problems = check_document(root, doc, targets)
        for line, problem in problems:
            print(f"{doc}:{line}: {problem}")
        failed = failed or bool(problems)
        if not problems:
            print(f"ok: {doc.name}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
