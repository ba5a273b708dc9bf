#!/usr/bin/env python3
"""Compiles every header of the libraries on its own, so each one includes what
it uses. Uses clang++ when it is installed (it refuses some code gcc lets
through, such as typeid of an incomplete class), else the build's compiler,
with the flags the build gives a source file beside the header.

A header that passed is not compiled again while its command and every file
it read stay as they were (their sizes and times are kept in the build folder,
as make keeps its dependencies), so a second run checks only what changed.

Usage: check-headers.py <source root> <build folder with compile_commands.json>
"""
import concurrent.futures
import hashlib
import json
import os
import shlex
import shutil
import subprocess
import sys

LIBRARY_FOLDERS = ["platform", "platform_qt", "values", "widgets", "document", "marking", "text", "libs",
                   "properties", "app", "tools"]
# Flags that name outputs or dependency files of the original compile.
DROP_WITH_VALUE = {"-o", "-MT", "-MF", "-MQ"}
DROP = {"-c", "-MD", "-MMD", "-Winvalid-pch"}
CACHE_NAME = "header-check-cache.json"


def read_depfile(path):
    """The files a make-style dependency file lists after its target."""
    with open(path) as f:
        text = f.read().replace("\\\n", " ")
    return [d for d in text.split(":", 1)[1].split() if d != "\\"] if ":" in text else []


def stamps(files):
    out = {}
    for f in files:
        st = os.stat(f)
        out[f] = [st.st_mtime_ns, st.st_size]
    return out


def unchanged(entry, command):
    if not entry or entry.get("command") != command:
        return False
    try:
        return all(stamps([f])[f] == stamp for f, stamp in entry["deps"].items())
    except OSError:
        return False


def headers(root):
    for folder in LIBRARY_FOLDERS:
        for base, _, files in os.walk(os.path.join(root, folder)):
            for name in sorted(files):
                if name.endswith(".h"):
                    yield os.path.join(base, name)


def flags_by_folder(build):
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    by_folder = {}
    for e in entries:
        args = e["arguments"] if "arguments" in e else shlex.split(e["command"])
        source = os.path.normpath(os.path.join(e["directory"], e["file"]))
        if not source.endswith(".cpp"):
            continue
        kept, skip = [], False
        for a in args[1:]:
            if skip:
                skip = False
            elif a in DROP_WITH_VALUE:
                skip = True
            elif a in DROP or os.path.normpath(os.path.join(e["directory"], a)) == source:
                continue
            else:
                kept.append(a)
        by_folder.setdefault(os.path.dirname(source), (e["directory"], kept))
    return by_folder


def flags_for(header, by_folder, root):
    folder = os.path.dirname(header)
    while True:
        if folder in by_folder:
            return by_folder[folder]
        if folder == root or len(folder) <= 1:
            break
        folder = os.path.dirname(folder)
    # A folder of headers only: any library's flags will do; Qt's include
    # folders come with the shell's.
    for key in sorted(by_folder):
        if key.startswith(os.path.join(root, "app")):
            return by_folder[key]
    return next(iter(by_folder.values()))


def main():
    root = os.path.realpath(sys.argv[1])
    build = os.path.realpath(sys.argv[2])
    by_folder = flags_by_folder(build)
    compiler = shutil.which("clang++")
    if compiler is None:
        with open(os.path.join(build, "compile_commands.json")) as f:
            first = json.load(f)[0]
        compiler = (first["arguments"] if "arguments" in first else shlex.split(first["command"]))[0]

    cache_path = os.path.join(build, CACHE_NAME)
    try:
        with open(cache_path) as f:
            cache = json.load(f)
    except (OSError, ValueError):
        cache = {}
    deps_folder = os.path.join(build, "header-check-deps")
    os.makedirs(deps_folder, exist_ok=True)
    passed = {}

    def check(header):
        directory, flags = flags_for(header, by_folder, root)
        quiet = ["-Wno-pragma-once-outside-header"] if "clang" in os.path.basename(compiler) else []
        cmd = [compiler] + flags + quiet + ["-fsyntax-only", "-x", "c++", header]
        command = " ".join(cmd) + " @" + directory
        if unchanged(cache.get(header), command):
            passed[header] = cache[header]
            return header, 0, ""
        depfile = os.path.join(deps_folder, hashlib.sha1(header.encode()).hexdigest() + ".d")
        r = subprocess.run(cmd + ["-MD", "-MF", depfile], cwd=directory, capture_output=True, text=True)
        if r.returncode == 0:
            try:
                files = [os.path.normpath(os.path.join(directory, d)) for d in read_depfile(depfile)]
                passed[header] = {"command": command, "deps": stamps(files)}
            except OSError:
                pass
        return header, r.returncode, r.stderr

    failed = 0
    jobs = max(1, (os.cpu_count() or 2) // 2)
    with concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for header, code, err in pool.map(check, list(headers(root))):
            if code != 0:
                failed += 1
                print(f"--- {os.path.relpath(header, root)} does not compile on its own:\n{err}")
    print(f"{failed} header(s) not self-contained" if failed else "every header compiles on its own")
    temporary = cache_path + ".tmp"
    with open(temporary, "w") as f:
        json.dump(passed, f)
    os.replace(temporary, cache_path)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
