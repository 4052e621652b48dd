#!/usr/bin/env python3
"""Fails when an include under src/core runs against the direction of the engine's layers or
names wx. Usage: check_layers.py SRC_DIR"""
import pathlib
import re
import sys

# Each engine folder and the folders it may include, itself included.
ALLOWED = {
    "host": {"host"},
    "picture": {"picture", "host"},
    "helptext": {"helptext", "picture", "host"},
    "model": {"model", "helptext", "picture", "host"},
    "solver": {"solver", "model", "helptext", "picture", "host"},
    "exact": {"exact", "solver", "model", "helptext", "picture", "host"},
    "update": {"update", "model", "host"},
    "signals": {"signals", "solver", "model", "helptext", "picture", "host"},
    "bill": {"bill", "solver", "model", "helptext", "picture", "host"},
    "quotation": {"quotation", "bill", "solver", "model", "helptext", "picture", "host"},
}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def problems(core):
    for path in sorted(core.rglob("*")):
        if path.suffix not in {".h", ".cpp", ".in"}:
            continue
        layer = path.relative_to(core).parts[0]
        if layer not in ALLOWED:
            yield f"{path}: folder '{layer}' is in no layer"
            continue
        for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            bracket, name = match.groups()
            where = f"{path}:{number}"
            if name.startswith("wx/") or name.startswith("wx.h"):
                yield f"{where}: the engine includes wx ({name})"
            elif bracket == '"' and "/" in name:
                target = name.split("/")[0]
                if target not in ALLOWED[layer]:
                    yield f"{where}: {layer}/ includes {name}, against the layers' direction"


def main():
    core = pathlib.Path(sys.argv[1]) / "core"
    found = list(problems(core))
    for problem in found:
        print(problem)
    if not found:
        print(f"layers hold in {core}")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
