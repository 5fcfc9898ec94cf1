#!/usr/bin/env python3
"""Packs the art generator's game_art.cpp for the browser's build: the same
runs of pixels, each count and pixel as a variable-length number (the pixel
by its place in the picture's own palette), unpacked into the runs arrays
before main. The pictures decode to the same pixels; the program's
WebAssembly is some 600 KB smaller.

    pack_art.py GAME_ART.cpp OUT.cpp"""
import re
import sys


def varint(n, out):
    while True:
        byte = n & 0x7F
        n >>= 7
        if n:
            out.append(byte | 0x80)
        else:
            out.append(byte)
            return


def main():
    source, target = sys.argv[1], sys.argv[2]
    text = open(source).read()
    arrays = dict(re.findall(r'static const uint32_t (\w+)\[\] = \{(.*?)\};', text, re.S))
    images = re.findall(r'extern const ArtImage (\w+) = \{(\d+), (\d+), (\w+), (\d+)\};', text)
    if not images:
        sys.exit('pack_art.py: no pictures in ' + source)
    lines = ['// Written by pack_art.py from the art generator\'s output; do not edit.',
             '#include <cstddef>', '#include <cstdint>', '#include "resources/art_data.h"', '', 'namespace {',
             '// Reads one variable-length number (7 bits a byte, low bits first).',
             'uint32_t Next(const uint8_t*& at) {', '    uint32_t n = 0;',
             '    for (int shift = 0;; shift += 7) {', '        const uint8_t byte = *at++;',
             '        n |= uint32_t(byte & 0x7F) << shift;', '        if ((byte & 0x80) == 0) return n;', '    }', '}',
             'void Unpack(const uint8_t* at, const uint32_t* palette, uint32_t* runs, size_t words) {',
             '    for (size_t i = 0; i + 1 < words; i += 2) {', '        runs[i] = Next(at);',
             '        runs[i + 1] = palette[Next(at)];', '    }', '}']
    unpack = []
    for name, width, height, runs_name, words in images:
        words_list = [int(w, 16) for w in re.findall(r'0x[0-9a-fA-F]+', arrays[runs_name])]
        if len(words_list) != int(words) or len(words_list) % 2:
            sys.exit('pack_art.py: %s has %d words, not %s' % (runs_name, len(words_list), words))
        palette = sorted(set(words_list[1::2]))
        place = {p: i for i, p in enumerate(palette)}
        packed = bytearray()
        for i in range(0, len(words_list), 2):
            varint(words_list[i], packed)
            varint(place[words_list[i + 1]], packed)
        lines.append('uint32_t %s[%s];' % (runs_name, words))
        lines.append('const uint32_t %sPalette[] = {%s};' % (name, ','.join('0x%x' % p for p in palette)))
        lines.append('const uint8_t %sPacked[] = {' % name)
        for i in range(0, len(packed), 24):
            lines.append(','.join(str(b) for b in packed[i:i + 24]) + ',')
        lines.append('};')
        unpack.append('    Unpack(%sPacked, %sPalette, %s, %s);' % (name, name, runs_name, words))
    lines += ['// Before main, so the pictures are whole whenever the program reads them.',
              '[[maybe_unused]] const bool unpacked = [] {'] + unpack + ['    return true;', '}();', '}  // namespace', '']
    for name, width, height, runs_name, words in images:
        lines.append('extern const ArtImage %s = {%s, %s, %s, %s};' % (name, width, height, runs_name, words))
    open(target, 'w').write('\n'.join(lines) + '\n')


main()
