#!/usr/bin/env python3
"""Lists the circles of modules in src/: a module is a .cpp with its .h; module A depends on B
when A's files include B's header. Exit status 1 when there is a circle.

    tools/module_cycles.py [src-folder]
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

modules = {}
for path in root.rglob("*"):
    if path.suffix in (".cpp", ".h"):
        name = str(path.relative_to(root).with_suffix(""))
        modules.setdefault(name, set())
        for target in include.findall(path.read_text(encoding="utf-8", errors="replace")):
            target = str(pathlib.Path(target).with_suffix(""))
            if target != name:
                modules[name].add(target)
for name in modules:
    modules[name] &= modules.keys()

# Tarjan's strongly connected components: every component of more than one module is a circle.
index, low, stack, on_stack, circles = {}, {}, [], set(), []


def visit(node):
    index[node] = low[node] = len(index)
    stack.append(node)
    on_stack.add(node)
    for next_node in sorted(modules[node]):
        if next_node not in index:
            visit(next_node)
            low[node] = min(low[node], low[next_node])
        elif next_node in on_stack:
            low[node] = min(low[node], index[next_node])
    if low[node] == index[node]:
        component = []
        while True:
            member = stack.pop()
            on_stack.discard(member)
            component.append(member)
            if member == node:
                break
        if len(component) > 1:
            circles.append(sorted(component))


sys.setrecursionlimit(10000)
for name in sorted(modules):
    if name not in index:
        visit(name)
for circle in circles:
    print("circle: " + " ".join(circle))
sys.exit(1 if circles else 0)
