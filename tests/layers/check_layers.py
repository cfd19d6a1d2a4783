#!/usr/bin/env python3
"""Reads the #include lines under a source tree and fails when its folders
include each other in a circle (top-level folders, or any two folders at
all, such as objects and objects/html), or when a top-level folder includes
one that src/CMakeLists.txt lists after it (the list goes from the bottom
layer up).

    check_layers.py SRC_DIR

Each fault is printed with the two files whose includes make it."""

import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/([^"]+)"')
SOURCE_SUFFIXES = ('.h', '.hpp', '.c', '.cpp', '.inc')


def folder_edges(root, whole_path):
    """(from folder, to folder) -> first (file, included path) that makes it.
    Folders are top-level ones, or whole paths when whole_path is set."""
    edges = {}
    for directory, _, names in sorted(os.walk(root)):
        folder = os.path.relpath(directory, root)
        if not whole_path:
            folder = folder.split(os.sep)[0]
        if folder == '.':
            continue
        for name in sorted(names):
            if not name.endswith(SOURCE_SUFFIXES):
                continue
            path = os.path.join(directory, name)
            with open(path, encoding='utf-8', errors='replace') as source:
                for line in source:
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    included = f'{match.group(1)}/{match.group(2)}'
                    target = os.path.dirname(included) if whole_path else match.group(1)
                    if target == folder or not os.path.exists(os.path.join(root, included)):
                        continue
                    edges.setdefault((folder, target), (os.path.relpath(path, root), included))
    return edges


def find_cycle(edges):
    """One circle of folders as a list [a, b, ..., a], or None."""
    graph = {}
    for a, b in edges:
        graph.setdefault(a, []).append(b)
    state = {}

    def visit(folder, path):
        state[folder] = 'open'
        path.append(folder)
        for nxt in sorted(graph.get(folder, ())):
            if state.get(nxt) == 'open':
                return path[path.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt, path)
                if found:
                    return found
        state[folder] = 'done'
        path.pop()
        return None

    for folder in sorted(graph):
        if folder not in state:
            found = visit(folder, [])
            if found:
                return found
    return None


def listed_order(root):
    cmake = os.path.join(root, 'CMakeLists.txt')
    if not os.path.exists(cmake):
        return []
    text = open(cmake, encoding='utf-8').read()
    match = re.search(r'foreach\(dir\s+([^)]*)\)', text)
    return match.group(1).split() if match else []


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else 'src'
    edges = folder_edges(root, whole_path=False)
    faults = []
    for graph in (edges, folder_edges(root, whole_path=True)):
        cycle = find_cycle(graph)
        if cycle:
            faults.append('folders include each other in a circle: ' + ' -> '.join(cycle))
            for a, b in zip(cycle, cycle[1:]):
                source, included = graph[(a, b)]
                faults.append(f'  {source} includes "{included}"')
            break
    order = listed_order(root)
    rank = {folder: i for i, folder in enumerate(order)}
    for (a, b), (source, included) in sorted(edges.items()):
        if a in rank and b in rank and rank[b] > rank[a]:
            faults.append(f'{source} includes "{included}", but {b} comes after {a} '
                          f'in {root}/CMakeLists.txt')
    for fault in faults:
        print(fault)
    if faults:
        return 1
    print(f'{len(edges)} folder dependencies, no circle, all in layer order')
    return 0


if __name__ == '__main__':
    sys.exit(main())
