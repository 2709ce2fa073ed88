#!/usr/bin/env python3
"""Checks the shape of src/: exit status 1, with one line per fault, when
- modules include each other in a circle (a module is a .cpp with its .h; module A depends on
  B when A's files include B's header);
- a folder includes a folder above it (FOLDER_ORDER, lowest first; a folder may include only
  itself and the folders before it);
- a header declares a function that its own .cpp does not define (or has no .cpp at all):
  such a declaration hides a dependency from the two checks above.

    tools/module_check.py [src-folder]
"""
import pathlib
import re
import sys

# Lowest first. Folders of one rank never include each other.
FOLDER_ORDER = [
    ["common"],
    ["settings"],
    ["lang", "desktop", "appearance"],
    ["extras", "tray"],
    ["dialog"],
    ["app"],
]
RANK = {folder: rank for rank, folders in enumerate(FOLDER_ORDER) for folder in folders}

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
faults = []


def without_comments_and_strings(text):
    text = re.sub(r"//[^\n]*|/\*.*?\*/", "", text, flags=re.S)
    text = re.sub(r'"(\\.|[^"\\\n])*"|\'(\\.|[^\'\\\n])*\'', '""', text)
    return re.sub(r"^\s*#.*$", "", text, flags=re.M)


sources = {path: path.read_text(encoding="utf-8", errors="replace")
           for path in sorted(root.rglob("*")) if path.suffix in (".cpp", ".h")}

# --- Folder order and circles ---
modules = {}
for path, text in sources.items():
    name = path.relative_to(root).with_suffix("").as_posix()
    modules.setdefault(name, set())
    folder = name.split("/")[0]
    for target in include.findall(text):
        target_name = pathlib.PurePosixPath(target).with_suffix("").as_posix()
        target_folder = target_name.split("/")[0]
        if (root / target).exists() and folder in RANK and target_folder != folder:
            if RANK.get(target_folder, -1) >= RANK[folder]:
                faults.append(f"upward include: {path.relative_to(root)} includes {target}")
        if target_name != name:
            modules[name].add(target_name)
for name in modules:
    modules[name] &= modules.keys()

# Tarjan's strongly connected components: every component of more than one module is a circle.
index, low, stack, on_stack = {}, {}, [], set()


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
            faults.append("circle: " + " ".join(sorted(component)))


sys.setrecursionlimit(10000)
for name in sorted(modules):
    if name not in index:
        visit(name)

# --- Headers and their .cpp ---
function_name = re.compile(r"\b([A-Za-z_]\w*)\s*\((?:[^()]|\([^()]*\))*\)\s*(?:const\s*)?(?:noexcept\s*)?$")


def declared_functions(text):
    """Names of the functions a header declares at namespace scope, not defined inline."""
    names, scopes, statement = [], [], ""
    for char in text:
        if char == "{":
            head = statement.strip()
            scopes.append(bool(re.match(r"(namespace\b|extern\s*\"\"\s*$)", head)))
            statement = ""
        elif char == "}":
            if scopes:
                scopes.pop()
            statement = ""
        elif char == ";":
            head = statement.strip()
            match = function_name.search(head)
            prefix = head.split("(")[0]
            if (all(scopes) and match and not re.match(r"(using|typedef|template|friend|static_assert)\b", head)
                    and not re.search(r"\b(inline|constexpr)\b|=", prefix)):
                names.append(match.group(1))
            statement = ""
        else:
            statement += char
    return names


for header, text in sources.items():
    if header.suffix != ".h":
        continue
    names = declared_functions(without_comments_and_strings(text))
    if not names:
        continue
    own = header.with_suffix(".cpp")
    body = without_comments_and_strings(sources[own]) if own in sources else ""
    for name in names:
        if not re.search(r"\b" + name + r"\s*\([^;{]*\)[^;{]*\{", body):
            faults.append(f"declared elsewhere: {header.relative_to(root)} declares {name}, "
                          f"which {own.name} does not define")

for fault in faults:
    print(fault)
sys.exit(1 if faults else 0)
