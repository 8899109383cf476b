#!/usr/bin/python3
"""Checks that every #include "..." points down the house. Run with Debian's Python:

    /usr/bin/python3 tools/check_include_layers.py [SOURCE_DIR]     (default: this tree)
    /usr/bin/python3 tools/check_include_layers.py --self-test

Layers, bottom to top: base and winlib | settings | macros | device | sim | ui | app. A file may
include its own folder and the folders below it, never one above. Besides:
- only the demo's setup (app/sim_*) and the test side (tests/, bench/, fuzz/) include sim/: the
  product never links a simulated mouse by accident, and device/ never sees it;
- no circle of includes between folders (base and winlib sit side by side: one of them may
  include the other, not both ways).
tests/, bench/, fuzz/ and tools/ may include anything. A new top-level folder with C++ files in it
fails the check until it is given a place here. Prints one line per fault; exit status 1 if any."""
import os
import re
import sys
import tempfile

RANK = {"base": 0, "winlib": 0, "settings": 1, "macros": 2, "device": 3, "sim": 4, "ui": 5, "app": 6}
FREE = {"tests", "bench", "fuzz", "tools"}  # may include anything
SIM_USERS = {"tests", "bench", "fuzz"}
NO_SOURCES = {"build", "cmake", "dist", "skins", "scripts"}
SOURCE_SUFFIXES = (".cpp", ".h", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def sources(root):
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        top = rel.split(os.sep, 1)[0]
        dirs[:] = [d for d in dirs if not d.startswith(".") and not (rel == "." and (d in NO_SOURCES or d.startswith("build")))]
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES) and top != ".":
                yield os.path.normpath(os.path.join(rel, name)).replace(os.sep, "/")


def resolve(root, path, target):
    """The included file as a path from the top: from the top first, then beside the includer."""
    for candidate in (target, os.path.join(os.path.dirname(path), target)):
        candidate = os.path.normpath(candidate).replace(os.sep, "/")
        if not candidate.startswith("..") and os.path.isfile(os.path.join(root, candidate)):
            return candidate
    return None


def strongly_connected(graph):
    index, low, on_stack, stack, found = {}, {}, set(), [], []

    def visit(v):
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in sorted(graph.get(v, ())):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while True:
                w = stack.pop()
                on_stack.discard(w)
                component.append(w)
                if w == v:
                    break
            found.append(sorted(component))

    for v in sorted(graph):
        if v not in index:
            visit(v)
    return found


def check(root):
    faults = []
    graph = {}
    edges = {}
    for path in sources(root):
        top = path.split("/", 1)[0]
        if top not in RANK and top not in FREE:
            faults.append("%s: folder %s/ has no layer (give it one in %s)" % (path, top, os.path.basename(__file__)))
            continue
        with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
            text = f.read()
        for target in INCLUDE.findall(text):
            included = resolve(root, path, target)
            if included is None:
                continue
            to = included.split("/", 1)[0]
            if to == "sim" and top != "sim" and top not in SIM_USERS and \
                    not (top == "app" and os.path.basename(path).startswith("sim_")):
                faults.append("%s -> %s: only the demo's setup and the tests include sim/" % (path, target))
            elif top in RANK and to in RANK and RANK[to] > RANK[top]:
                faults.append("%s -> %s: %s/ is above %s/" % (path, target, to, top))
            if top in RANK and to in RANK and to != top:
                graph.setdefault(top, set()).add(to)
                edges.setdefault((top, to), path + " -> " + target)
    for component in strongly_connected(graph):
        if len(component) > 1:
            members = set(component)
            links = [edges[e] for e in sorted(edges) if e[0] in members and e[1] in members]
            faults.append("circle of includes between %s: %s" % (", ".join(component), "; ".join(links)))
    return faults


def self_test():
    """The check against trees with a fault put in on purpose: each must fail, for its reason."""
    cases = {
        "clean": ({"device/a.h": "", "device/a.cpp": '#include "device/a.h"\n#include "base/c.h"\n',
                   "base/c.h": "", "app/sim_setup.cpp": '#include "sim/m.h"\n', "sim/m.h": '#include "device/a.h"\n',
                   "ui/r/ids.h": "", "ui/r/x.rc": '#include "ids.h"\n', "tests/t.cpp": '#include "sim/m.h"\n'},
                  None),
        "arrow up": ({"device/a.cpp": '#include "ui/w.h"\n', "ui/w.h": ""}, "ui/ is above device/"),
        "arrow up beside": ({"settings/s.cpp": '#include "s2.h"\n', "settings/s2.h": '#include "macros/m.h"\n',
                             "macros/m.h": ""}, "macros/ is above settings/"),
        "sim from ui": ({"ui/w.cpp": '#include "sim/m.h"\n', "sim/m.h": ""}, "include sim/"),
        "sim from the product": ({"app/main.cpp": '#include "sim/m.h"\n', "sim/m.h": ""}, "include sim/"),
        "sim from device": ({"device/d.cpp": '#include "sim/m.h"\n', "sim/m.h": ""}, "include sim/"),
        "circle": ({"base/b.h": '#include "winlib/w.h"\n', "winlib/w.h": '#include "base/b.h"\n'}, "circle"),
        "new folder": ({"misc/x.cpp": ""}, "has no layer"),
    }
    failed = 0
    for name, (files, expected) in cases.items():
        with tempfile.TemporaryDirectory() as root:
            for path, text in files.items():
                os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
                with open(os.path.join(root, path), "w") as f:
                    f.write(text)
            faults = check(root)
        ok = (not faults) if expected is None else any(expected in fault for fault in faults)
        print("%-22s %s%s" % (name, "ok" if ok else "FAILED", "" if ok else ": " + repr(faults)))
        failed += not ok
    return 1 if failed else 0


def main(argv):
    if argv[1:] == ["--self-test"]:
        return self_test()
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    faults = check(root)
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
