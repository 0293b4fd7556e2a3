#!/usr/bin/env python3
"""Makes a WAV file SECONDS long out of a shorter one, as a sparse file: the short file's sound
first, then silence that takes no room on the disk. usage: long_wav.py SHORT.wav SECONDS LONG.wav"""
import shutil
import struct
import sys

short, seconds, long_path = sys.argv[1], int(sys.argv[2]), sys.argv[3]
shutil.copyfile(short, long_path)
with open(long_path, "r+b") as wav:
    header = wav.read(12)
    assert header[:4] == b"RIFF" and header[8:12] == b"WAVE", "not a WAV file"
    rate = frame_bytes = None
    while True:
        chunk, size = struct.unpack("<4sI", wav.read(8))
        if chunk == b"fmt ":
            fmt = wav.read(size)
            rate, frame_bytes = struct.unpack("<I", fmt[4:8])[0], struct.unpack("<H", fmt[12:14])[0]
        elif chunk == b"data":
            data_at = wav.tell()
            break
        else:
            wav.seek(size + (size & 1), 1)
    data_bytes = seconds * rate * frame_bytes
    wav.seek(data_at - 4)
    wav.write(struct.pack("<I", data_bytes))
    wav.seek(4)
    wav.write(struct.pack("<I", data_at - 8 + data_bytes))
    wav.truncate(data_at + data_bytes)
