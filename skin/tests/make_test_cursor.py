"""Writes a 32 x 32 monochrome cursor file for the skin button tests."""
import struct
import sys

width, height = 32, 32
xor_mask = bytes([0xF0] * (width * height // 8))
and_mask = bytes([0x00] * (width * height // 8))
header = struct.pack('<IiiHHIIiiII', 40, width, height * 2, 1, 1, 0, 0, 0, 0, 2, 0)
colours = struct.pack('<II', 0x000000, 0xFFFFFF)
image = header + colours + xor_mask + and_mask
directory = struct.pack('<HHH', 0, 2, 1) + struct.pack('<BBBBHHII', width, height, 0, 0, 5, 3, len(image), 22)
with open(sys.argv[1], 'wb') as out:
    out.write(directory + image)
