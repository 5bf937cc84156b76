#!/usr/bin/env python3
"""Prints the table of docs/memory-map.md from the slot table in src/model/indLayout.h."""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parent.parent
h = (root / "src/model/indLayout.h").read_text()
ns = h[h.index("namespace indTable {"):h.index("} // namespace indTable")]
names = {int(m.group(2)): m.group(1) for m in re.finditer(r"inline constexpr int k(\w+) = (\d+);", ns)}
ids = {v: k for k, v in names.items()}
consts = {m.group(1): int(m.group(2), 0)
          for m in re.finditer(r"inline constexpr int32_t (k\w+) = (0x[0-9A-F]+|\d+);", h)}
counts = {k: v for k, v in consts.items() if k.startswith("kCount")}


def value(expr):
    """A slot row's number: a literal, a named area constant, or a difference of two."""
    return sum(sign * (consts[t] if t in consts else int(t, 0))
               for sign, t in ((-1 if m.group(1) == "-" else 1, m.group(2))
                               for m in re.finditer(r"([-+]?)\s*(\w+)", expr)))


print("| id | name | slot address | entry size | count | slot end | count location |")
print("|---:|---|---|---:|---:|---|---|")
for ident, at, size, count, counter in re.findall(
        r"\{(indTable::k\w+|\d+), ([\w ]+?), ([\w -]+?), (\d+), (\w+)\}", h):
    if ident.startswith("indTable::"):
        name = ident[len("indTable::k"):]
        table, shown = ids[name], f"`k{name}`"
    else:
        table, shown = int(ident), "— (kept as read)"
    start, size = value(at), value(size)
    end = start + size * int(count)
    where = "—" if counter == "0" else f"0x{counts[counter]:05X} (`{counter}`)"
    print(f"| {table} | {shown} | 0x{start:05X} | {size} | {count} | 0x{end:05X} | {where} |")
