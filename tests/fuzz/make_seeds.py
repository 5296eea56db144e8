#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpus (small files named by what they hold).

Usage: tests/fuzz/make_seeds.py   (from anywhere; writes into tests/fuzz/corpus/<target>/)
The lap file seeds start from the committed samples and add the broken shapes the tests use.
The files named by a hash beside them are inputs the fuzzer found that reach code the seeds do
not; they were added with `fuzz_<target> -merge=1 tests/fuzz/corpus/<target> <new inputs>`.
"""
import pathlib
import struct

HERE = pathlib.Path(__file__).resolve().parent
SAMPLES = HERE.parent.parent / "samples"
CORPUS = HERE / "corpus"


def record(record_word, lap_index, blocks, tail=b""):
    """One 228-byte record: blocks are lists of 16 words; the rest is zero or `tail`."""
    data = struct.pack(">HH", record_word, lap_index)
    for words in blocks:
        data += struct.pack(">16H", *words)
    data += tail
    return (data + bytes(228))[:228]


def block(time, fill=0):
    words = [time, 3500, 9800, 45, 162, 80, 95, 70, 88, fill, fill, fill, fill, 12, 9, 2450]
    return words


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def lap_seeds():
    for sample in sorted(SAMPLES.glob("*.BIL")):
        write("lap_file", "sample-" + sample.stem.lower(), sample.read_bytes())
    example = record(2, 2, [block(6523), [2012, 4100, 9650, 60, 155, 82, 90, 71, 80, 0, 0, 0, 0,
                                          8, 11, 810]])
    write("lap_file", "worked-example", example)
    write("lap_file", "end-record-first", record(0, 0, []) + example)
    write("lap_file", "mph-then-kmh", record(3, 0, [block(100)]) + record(2, 1, [block(200)]))
    write("lap_file", "lap-number-only", record(1, 4, []))
    write("lap_file", "seven-blocks-wide", record(1, 9999, [[32767] * 16] * 7))
    write("lap_file", "gx-99-and-100",
          record(2, 0, [[6000, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 99, 100, 1]]))
    write("lap_file", "time-above-9-59", record(2, 0, [block(32767), block(59999 % 32768)]))
    write("lap_file", "high-byte-third-record",
          example + example + example[:40] + b"\x80\x00" + example[42:])
    write("lap_file", "high-byte-unshown-word", record(2, 0, [block(100, fill=0x8000)]))
    write("lap_file", "high-byte-after-zero-time",
          record(2, 0, [block(100), [0] * 16, block(300, fill=0x8000)]))
    write("lap_file", "lap-index-7fff", record(2, 0x7FFF, [block(100)]))
    write("lap_file", "record-word-ffff", b"\xff\xff" + example[2:])
    write("lap_file", "short-tail", example + example[:100])
    write("lap_file", "one-byte", b"\x01")
    write("lap_file", "empty", b"")


def settings_seeds():
    write("settings_values", "example-34-bytes",
          b'"C:\\Data\\Text"\r\n"C:\\Data\\Logger"\r\n')
    write("settings_values", "one-line-comma", b'"/home/a/text","/home/a/laps"\r\n')
    write("settings_values", "one-line-only", b'"/home/a/text"\r\n')
    write("settings_values", "unquoted-blanks", b'  /home/a/text  ,\t/home/a/laps\n')
    write("settings_values", "empty-lines", b"\r\n\r\n")
    write("settings_values", "quote-inside", b'"/tmp/my"dir"\r\n"/tmp/x" , y\r\n')
    write("settings_values", "unclosed-quote", b'"/tmp/open\r"/tmp/b\n')
    write("settings_values", "bom-and-extra-lines",
          b'\xef\xbb\xbf"/a"\r\n"/b"\r\n"/c"\r\nrest,,\r\n')
    write("settings_values", "utf8-and-invalid", '"/home/é/ノート"\r\n'.encode() + b'"/x\xff\xfe"\r\n')
    write("settings_values", "empty", b"")


def text_seeds():
    write("text_lines", "crlf", b"A\r\nB\r\n")
    write("text_lines", "no-final-line-end", b"A\r\nB")
    write("text_lines", "lf-only", b"one\ntwo\nthree\n")
    write("text_lines", "lone-cr", b"a\rb\r\rc\r")
    write("text_lines", "cr-cr-lf", b"x\r\r\n\n\r\n")
    write("text_lines", "bom-utf8", "\ufeffラップ\r\né\r\n".encode())
    write("text_lines", "invalid-utf8", b"\xff\xfe\x00\r\n\xc3")
    write("text_lines", "empty", b"")
    table = (SAMPLES / "EXAMPLE.BIL").read_bytes()
    write("text_lines", "binary-sample", table)


def table_header(unit):
    speed = "km/h" if unit == 0 else " m/h"
    lap = " LAP   TIME    rpm min~max    " + speed + "  GXmax GYmax   TMP1     TMP2  LENGTH"
    sector = " TIME  rpm min~max    " + speed + "  GXmax GYmax   TMP1     TMP2  LENGTH"
    return (lap + "".join(" SEG%d" % s + sector for s in range(1, 7))).encode()


def table_seeds():
    line = (b"   3  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450    0:20.12    "
            b"4100~ 9650   60~155  0.8  1.1   82~ 90   71~ 80   810  ")
    kmh, mph = table_header(0), table_header(1)
    write("lap_table", "saved-example", kmh + b"\r\n" + line + b"\r\n\r\n")
    write("lap_table", "mph-comma-lf", mph + b"\n" + line.replace(b"1.2", b"1,2") + b"\n")
    write("lap_table", "gx-wide-cut-values",
          kmh + b"\r\n" + line.replace(b"  1.2", b"  12.3").replace(b"   3", b"0234", 1)
          .replace(b"~162", b"~012") + b"\r\n")
    write("lap_table", "edited-lines",
          b"notes\r\n" + kmh + b"\r\n\r\n" + line[:90] + b"\r\n" + line.replace(b"9800", b"98x0")
          + b"\r\n" + mph + b"\r\n" + line.replace(b"1:05.23", b"-:--.--") + b"\r\n   7\r\n")
    write("lap_table", "no-header", line + b"\r\n")
    write("lap_table", "empty", b"")


if __name__ == "__main__":
    lap_seeds()
    table_seeds()
    settings_seeds()
    text_seeds()
