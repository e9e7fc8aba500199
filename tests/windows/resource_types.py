#!/usr/bin/env python3
"""Checks that each Windows program given carries a version resource, an
icon and a manifest: the types in the root of its PE resource directory."""
import struct
import sys

NEEDED = {3: "icon", 14: "icon group", 16: "version", 24: "manifest"}


def resource_types(path):
    data = open(path, "rb").read()
    header = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H", data, header + 6)[0], struct.unpack_from("<H", data, header + 20)[0]
    optional = header + 24
    # The resource directory is the third data directory of a PE32+ header.
    rva = struct.unpack_from("<I", data, optional + 112 + 2 * 8)[0]
    table = optional + optional_size
    for index in range(sections):
        _, size, address, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, table + 40 * index)
        if address <= rva < address + max(size, raw_size):
            root = raw_offset + rva - address
            break
    else:
        return set()
    named, numbered = struct.unpack_from("<HH", data, root + 12)
    return {struct.unpack_from("<I", data, root + 16 + 8 * i)[0] for i in range(named + numbered)}


status = 0
for program in sys.argv[1:]:
    missing = [name for kind, name in NEEDED.items() if kind not in resource_types(program)]
    if missing:
        print(f"{program}: no {', '.join(missing)} resource")
        status = 1
sys.exit(status)
