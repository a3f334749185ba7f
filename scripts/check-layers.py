#!/usr/bin/env python3
"""Fails when a source folder includes a folder it must not, when a folder's CMake library does
not link exactly the libraries whose headers it includes, or when the core includes Qt.

The allowed dependencies, lowest folders first, are listed here and nowhere else."""
import pathlib
import re
import sys

EXCHANGE_BASE = ["model", "platform", "serial", "protocol", "settings"]
ALLOWED = {
    "model": [],
    "platform": [],
    "serial": ["platform"],
    "protocol": ["model", "platform", "serial"],
    "settings": ["model", "platform", "serial", "protocol"],
    "window": ["model", "platform", "serial", "protocol"],
    "monitor": EXCHANGE_BASE,
    "firmware": EXCHANGE_BASE,
    "paramfile": EXCHANGE_BASE,
    "frame": EXCHANGE_BASE,
    "core": EXCHANGE_BASE + ["window", "monitor", "firmware", "paramfile", "frame"],
    "qtserial": ["platform", "serial"],
    "ui": EXCHANGE_BASE + ["window", "monitor", "firmware", "paramfile", "frame", "core"],
    "app": EXCHANGE_BASE + ["core", "qtserial", "ui", "sim"],
    "cli": EXCHANGE_BASE + ["window", "monitor", "firmware", "paramfile", "frame", "core",
                            "qtserial", "sim"],
    "sim": ["platform", "serial", "protocol"],
    # The libFuzzer harnesses, each over the one piece it feeds.
    "fuzz": ["protocol", "paramfile", "firmware", "monitor"],
}
# Folders whose code may use Qt; the rest is plain C++.
QT_FOLDERS = {"qtserial", "ui", "app", "cli"}
# Single files outside those that may: the simulator's command line, read with Qt Core's parser as
# orva's and orva-cli's are; only the kivrel-sim executable links it, not the simulator's library.
QT_FILES = {"sim/SimCommandLine.cpp"}

INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]', re.M)
LINK = re.compile(r"target_link_libraries\(\s*(\S+)([^)]*)\)", re.S)


def library(folder):
    return "kivrel_sim" if folder == "sim" else "orva_" + folder


def links_of(name, cmake_text):
    """What the folder's library links; for fuzz/, what its harnesses link together."""
    linked = set()
    for target, args in LINK.findall(cmake_text):
        if target == library(name) or (name == "fuzz" and target.startswith("fuzz_")):
            linked |= {t for t in args.split() if t.startswith("orva_") or t == "kivrel_sim"}
    return linked


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    folders = {p.name: p for p in sorted((root / "src").iterdir()) if p.is_dir()}
    folders["sim"] = root / "sim"
    folders["cli"] = root / "cli"
    folders["fuzz"] = root / "fuzz"
    problems = []
    for name, path in folders.items():
        if name not in ALLOWED:
            problems.append(f"{name}/: no entry in the allowed dependencies")
            continue
        used = set()
        for source in sorted(path.rglob("*")):
            if source.suffix not in (".h", ".cpp"):
                continue
            for target in INCLUDE.findall(source.read_text(encoding="utf-8")):
                head = target.split("/")[0]
                if "/" in target and head in ALLOWED and head != name:
                    used.add(head)
                    if head not in ALLOWED[name]:
                        problems.append(f"{source.relative_to(root)}: includes {target}")
                elif (target.startswith("Q") and name not in QT_FOLDERS
                      and source.relative_to(root).as_posix() not in QT_FILES):
                    problems.append(f"{source.relative_to(root)}: includes Qt ({target})")
        cmake = path / "CMakeLists.txt"
        linked = links_of(name, cmake.read_text(encoding="utf-8"))
        wanted = {library(f) for f in used}
        if linked != wanted:
            extra = ", ".join(sorted(linked - wanted)) or "-"
            missing = ", ".join(sorted(wanted - linked)) or "-"
            problems.append(
                f"{cmake.relative_to(root)}: {library(name)} links extra [{extra}], "
                f"misses [{missing}]")
    for problem in problems:
        print(problem)
    if problems:
        print(f"layer check: {len(problems)} problem(s)")
        return 1
    print(f"layer check: {len(folders)} folders follow the allowed dependencies")
    return 0


if __name__ == "__main__":
    sys.exit(main())
