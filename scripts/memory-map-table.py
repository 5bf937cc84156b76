#!/usr/bin/env python3
"""Prints the table of docs/memory-map.md from the slot table in src/model/indLayout.h."""
import pathlib
import re

root = pathlib.Path(__file__).resolve().parent.parent
h = (root / "src/model/indLayout.h").read_text()
ns = h[h.index("namespace indTable {"):h.index("} // namespace indTable")]
names = {int(m.group(2)): m.group(1) for m in re.finditer(r"inline constexpr int k(\w+) = (\d+);", ns)}
ids = {v: k for k, v in names.items()}
counts = {m.group(1): int(m.group(2), 16)
          for m in re.finditer(r"inline constexpr int32_t (kCount\w+) = (0x[0-9A-F]+);", h)}
print("| id | name | slot address | entry size | count | slot end | count location |")
print("|---:|---|---|---:|---:|---|---|")
for ident, at, size, count, counter in re.findall(
        r"\{(indTable::k\w+|\d+), (0x[0-9A-F]+), (\d+), (\d+), (\w+)\}", h):
    if ident.startswith("indTable::"):
        name = ident[len("indTable::k"):]
        table, shown = ids[name], f"`k{name}`"
    else:
        table, shown = int(ident), "— (kept as read)"
    start = int(at, 16)
    end = start + int(size) * int(count)
    where = "—" if counter == "0" else f"0x{counts[counter]:05X} (`{counter}`)"
    print(f"| {table} | {shown} | 0x{start:05X} | {size} | {count} | 0x{end:05X} | {where} |")
