#!/usr/bin/env python3
"""Writes the seed archives: stored RAR 4 archives with plain files, folders,
backslash names, a link and names that try to leave the folder."""
import os, struct, zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def block(header):
    return struct.pack('<H', zlib.crc32(header) & 0xffff) + header


def entry(name, data=b'', kind='file'):
    name = name.encode('latin-1')
    flags = 0x8000 | (0x00e0 if kind == 'dir' else 0)
    mode = {'file': 0o100644, 'dir': 0o040755, 'link': 0o120777}[kind]
    header = struct.pack('<BHHIIBIIBBHI', 0x74, flags, 32 + len(name), len(data), len(data), 3,
                         zlib.crc32(data), 0x5a210000, 29, 0x30, len(name), mode) + name
    return block(header) + data


def archive(*entries):
    main = block(struct.pack('<BHHHI', 0x73, 0, 13, 0, 0))
    end = block(struct.pack('<BHH', 0x7b, 0x4000, 7))
    return b'Rar!\x1a\x07\x00' + main + b''.join(entries) + end


SEEDS = {
    'part.rar': archive(entry('course.x01', b'update part'), entry('media', kind='dir'),
                        entry('media\\say_sol.ogg', b'OggS')),
    'evil.rar': archive(entry('fine.txt', b'x'), entry('..\\..\\evil', b'payload')),
    'link.rar': archive(entry('out', b'/tmp', kind='link'), entry('out/x', b'y')),
}

os.makedirs(os.path.join(HERE, 'corpus'), exist_ok=True)
for name, data in SEEDS.items():
    with open(os.path.join(HERE, 'corpus', name), 'wb') as f:
        f.write(data)
