#!/usr/bin/env python3
"""Checks that #include lines run one way between the folders of src/.

Each folder under src/ is one library and may include only itself and the layers below it; the
engine's folders include no Qt or Qwt header. A test folder under tests/ may include what the
source folder of the same name may, and the test support. Prints every violation and exits 1 if
there is any.
"""
import pathlib
import re
import sys

# Each folder with the folders it may include besides itself.
LAYERS = {
    "base": set(),
    "definitions": {"base"},
    "core": {"base", "definitions"},
    "views": {"base", "definitions", "core"},
    "sampleday": {"base"},
    "charts": {"base", "definitions", "core", "views"},
    "ui": {"base", "definitions", "core", "views", "charts"},
    "cli": {"base", "definitions", "core", "views", "charts", "sampleday"},
}
QT_FREE = {"base", "definitions", "core", "views", "sampleday"}
QT_HEADER = re.compile(r'#\s*include\s*<(Q[A-Za-z]*|qwt[_a-z]*\.h|Qt[A-Za-z]*/)')
OURS = re.compile(r'#\s*include\s*"([a-z_]+)/')


def check(path, folder, allowed, qt_free):
    problems = []
    for number, line in enumerate(path.read_text(errors="replace").splitlines(), 1):
        used = OURS.match(line.strip())
        if used and used.group(1) != folder and used.group(1) not in allowed:
            problems.append(f"{path}:{number}: {folder}/ may not include {used.group(1)}/")
        if qt_free and QT_HEADER.match(line.strip()):
            problems.append(f"{path}:{number}: {folder}/ is Qt-free: {line.strip()}")
    return problems


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    problems = []
    for source in sorted((root / "src").iterdir()):
        if not source.is_dir():
            continue
        if source.name not in LAYERS:
            problems.append(f"{source}: a folder without a layer; add it to {__file__}")
            continue
        for path in sorted(source.rglob("*")):
            if path.suffix in (".h", ".cpp", ".in"):
                problems += check(path, source.name, LAYERS[source.name], source.name in QT_FREE)
    for tests in sorted((root / "tests").iterdir()):
        if tests.is_dir() and tests.name in LAYERS:
            allowed = LAYERS[tests.name] | {"support"}
            for path in sorted(tests.rglob("*")):
                if path.suffix in (".h", ".cpp"):
                    problems += check(path, tests.name, allowed, False)
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
