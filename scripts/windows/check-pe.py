#!/usr/bin/env python3
"""Checks what a Windows program says about itself in its PE header and resources: the
subsystem (a console or a GUI program), the version block, the manifest and the icon.

usage: check-pe.py FILE.exe --subsystem gui|console --version X.Y [--icon] [--manifest TEXT]...
Prints what it found; exits 1 when something expected is missing or different.
"""
import argparse
import struct
import sys

SUBSYSTEMS = {2: "gui", 3: "console"}
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
RESOURCE_DIRECTORY = 2


class Pe:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not an MZ executable")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE signature")
        sections, opt_size = struct.unpack_from("<H12xH", data, pe + 6)
        opt = pe + 24
        magic = struct.unpack_from("<H", data, opt)[0]
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (112 if magic == 0x20B else 96)
        self.rsrc_rva = struct.unpack_from("<I", data, dirs + 8 * RESOURCE_DIRECTORY)[0]
        self.sections = []
        table = opt + opt_size
        for i in range(sections):
            vsize, va, raw_size, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            self.sections.append((va, max(vsize, raw_size), raw))

    def offset(self, rva):
        for va, size, raw in self.sections:
            if va <= rva < va + size:
                return raw + rva - va
        raise ValueError(f"address {rva:#x} is in no section")

    def resources(self):
        """{type id: [bytes of each resource of that type]} (named types are left out)."""
        found = {}
        if not self.rsrc_rva:
            return found
        base = self.offset(self.rsrc_rva)

        def entries(at):
            named, ids = struct.unpack_from("<12xHH", self.data, base + at)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", self.data, base + at + 16 + 8 * i)
                yield name, target

        def leaves(at):
            for _, target in entries(at):
                if target & 0x80000000:
                    yield from leaves(target & 0x7FFFFFFF)
                else:
                    rva, size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(rva)
                    yield self.data[start:start + size]

        for type_id, target in entries(0):
            if type_id & 0x80000000 or not target & 0x80000000:
                continue
            found[type_id] = list(leaves(target & 0x7FFFFFFF))
        return found


def version_strings(block):
    """The strings of a VS_VERSIONINFO block: {language block: {key: value}}, and the fixed
    file version as a text."""
    def node(at):
        length, value_length, kind = struct.unpack_from("<HHH", block, at)
        end = block.index(b"\0\0", at + 6)
        while (end - at - 6) % 2:
            end = block.index(b"\0\0", end + 1)
        key = block[at + 6:end].decode("utf-16-le")
        value_at = (end + 2 + 3) & ~3
        value_size = value_length * 2 if kind == 1 else value_length
        children_at = (value_at + value_size + 3) & ~3
        return key, length, kind, block[value_at:value_at + value_size], children_at

    def children(at, end):
        while at < end:
            key, length, kind, value, first = node(at)
            if length == 0:
                break
            yield key, kind, value, first, at + length
            at = (at + length + 3) & ~3

    key, length, _, fixed, first = node(0)
    if key != "VS_VERSION_INFO":
        raise ValueError("no VS_VERSION_INFO")
    ms, ls = struct.unpack_from("<II", fixed, 8)
    file_version = f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"
    tables = {}
    for name, _, _, at, end in children(first, length):
        if name != "StringFileInfo":
            continue
        for lang, _, _, table_at, table_end in children(at, end):
            strings = tables.setdefault(lang, {})
            for k, _, v, _, _ in children(table_at, table_end):
                strings[k] = v.decode("utf-16-le").rstrip("\0")
    return file_version, tables


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("file")
    ap.add_argument("--subsystem", choices=sorted(SUBSYSTEMS.values()), required=True)
    ap.add_argument("--version", required=True, help="the project version, e.g. 0.1")
    ap.add_argument("--icon", action="store_true", help="an icon is expected")
    ap.add_argument("--manifest", action="append", default=[],
                    help="a text the manifest must contain (repeatable)")
    args = ap.parse_args()
    with open(args.file, "rb") as f:
        pe = Pe(f.read())
    problems = []
    subsystem = SUBSYSTEMS.get(pe.subsystem, str(pe.subsystem))
    if subsystem != args.subsystem:
        problems.append(f"subsystem {subsystem}, expected {args.subsystem}")
    res = pe.resources()
    versions = res.get(RT_VERSION, [])
    summary = [f"subsystem {subsystem}"]
    if not versions:
        problems.append("no version resource")
    else:
        file_version, tables = version_strings(versions[0])
        summary.append(f"file version {file_version}")
        numbers = (args.version.split(".") + ["0"] * 4)[:4]
        if file_version != ".".join(numbers):
            problems.append(f"file version {file_version}, expected {'.'.join(numbers)}")
        for lang in ("080404b0", "040904b0"):
            strings = tables.get(lang)
            if not strings:
                problems.append(f"no version strings for {lang}")
                continue
            for key in ("ProductName", "FileDescription", "LegalCopyright", "ProductVersion"):
                if not strings.get(key):
                    problems.append(f"{lang}: no {key}")
            if strings.get("ProductVersion") != args.version:
                problems.append(f"{lang}: product version {strings.get('ProductVersion')}")
            summary.append(f"{lang}: {strings.get('FileDescription')} / {strings.get('LegalCopyright')}")
    manifest = b"".join(res.get(RT_MANIFEST, [])).decode("utf-8", "replace")
    if not manifest:
        problems.append("no manifest")
    for text in args.manifest:
        if text not in manifest:
            problems.append(f"the manifest lacks {text}")
    icons = len(res.get(RT_ICON, []))
    summary.append(f"{icons} icon images")
    if args.icon and (icons == 0 or RT_GROUP_ICON not in res):
        problems.append("no icon")
    print(f"{args.file}: " + "; ".join(summary))
    for p in problems:
        print(f"{args.file}: {p}", file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
