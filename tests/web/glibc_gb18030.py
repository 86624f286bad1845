#!/usr/bin/python3
"""Writes glibc's GB18030 encoding of code points, one "XXXX HEX" line each
(hex code point, hex bytes, "-" when iconv rejects the character): every BMP
code point outside the surrogates, then every 97th supplementary one and the
last. The browser tests compare the page's encoder with it."""
import ctypes
import ctypes.util
import sys

libc = ctypes.CDLL(ctypes.util.find_library("c"), use_errno=True)
libc.iconv_open.restype = ctypes.c_void_p
libc.iconv_open.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
libc.iconv.restype = ctypes.c_size_t
libc.iconv.argtypes = [ctypes.c_void_p] + [ctypes.c_void_p] * 4
cd = libc.iconv_open(b"GB18030", b"UTF-8")
if cd in (None, ctypes.c_void_p(-1).value):
    sys.exit("iconv_open(GB18030, UTF-8) failed")


def encode(cp):
    data = chr(cp).encode("utf-8")
    src = ctypes.create_string_buffer(data, len(data))
    dst = ctypes.create_string_buffer(16)
    src_ptr = ctypes.c_char_p(ctypes.addressof(src))
    dst_ptr = ctypes.c_char_p(ctypes.addressof(dst))
    src_left = ctypes.c_size_t(len(data))
    dst_left = ctypes.c_size_t(16)
    libc.iconv(cd, None, None, None, None)
    r = libc.iconv(cd, ctypes.byref(src_ptr), ctypes.byref(src_left),
                   ctypes.byref(dst_ptr), ctypes.byref(dst_left))
    if r == ctypes.c_size_t(-1).value or src_left.value:
        return "-"
    return dst.raw[:16 - dst_left.value].hex().upper()


points = [cp for cp in range(0x10000) if not 0xD800 <= cp <= 0xDFFF]
# The six characters that glibc gives two-byte codes (FE51 and others).
points += sorted(set(range(0x10000, 0x110000, 97)) | {0x10FFFF, 0x20087, 0x20089, 0x200CC, 0x215D7, 0x2298F, 0x241FE})
out = sys.stdout
for cp in points:
    out.write(f"{cp:04X} {encode(cp)}\n")
