#!/usr/bin/env python3
"""Every constant, record and record field that platform/compat declares for the portable
layers is in the table that the Windows build checks against the real headers
(tests/platform/compat/win32_values_check.cpp). A value added to compat without a line there
would go unchecked; this names it. Status 1 when anything is missing."""
import pathlib
import re
import sys

HEADERS = ["win32_types.h", "ddraw_api.h", "gdi_api.h", "user32_api.h", "virtual_keys.h"]
CHECK_FILE = "tests/platform/compat/win32_values_check.cpp"
# Declared by compat but not comparable as values, each with the reason; checked otherwise.
NOT_VALUES = {
    "IDC_ARROW": "a pointer made by MAKEINTRESOURCEA(32512), as the real one is; not a constant",
}

CONSTANT = re.compile(r"^inline\s+(?:constexpr|const)\s+[\w:]+\s+(\w+)\s*=", re.MULTILINE)
RECORD = re.compile(r"^struct\s+(\w+)\s*\{(.*?)^\};", re.MULTILINE | re.DOTALL)
FIELD = re.compile(r"^\s+[\w:]+\**\s+\**(\w+)(?:\[\d+\])?;", re.MULTILINE)


def main(root):
    root = pathlib.Path(root)
    table = (root / CHECK_FILE).read_text(encoding="utf-8")
    missing = []
    counted = 0
    for header in HEADERS:
        text = (root / "platform/compat" / header).read_text(encoding="utf-8")
        for name in CONSTANT.findall(text):
            counted += 1
            if name not in NOT_VALUES and f"X({name})" not in table:
                missing.append(f"{header}: constant {name}")
        for record, body in RECORD.findall(text):
            if "virtual" in body:
                continue  # interfaces: only the methods we call, not a layout
            counted += 1
            if f"RECORD({record})" not in table:
                missing.append(f"{header}: record {record}")
            for field in FIELD.findall(body):
                if f"FIELD({record}, {field})" not in table:
                    missing.append(f"{header}: field {record}::{field}")
    for line in missing:
        print(f"not checked against the Windows headers: {line}")
    print(f"{counted} constants and records declared, {len(missing)} not in the table")
    return 1 if missing or counted == 0 else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "."))
