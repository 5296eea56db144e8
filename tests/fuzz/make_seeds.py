#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpus (small files named by what they hold).

Usage: tests/fuzz/make_seeds.py   (from anywhere; writes into tests/fuzz/corpus/<target>/)
The lap file seeds start from the committed samples and add the broken shapes the tests use.
The files named by a hash beside them are inputs the fuzzer found that reach code the seeds do
not; they were added with `fuzz_<target> -merge=1 tests/fuzz/corpus/<target> <new inputs>`.
"""
import pathlib
import random
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent
SAMPLES = HERE.parent.parent / "samples"
CORPUS = HERE / "corpus"
# The independent converter of the differential test writes the tables the seeds start from.
sys.path.insert(0, str(HERE.parent / "oracle"))
import oracle  # noqa: E402


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


def sample_table(name):
    """The lap table "Text save" writes for a sample file."""
    return oracle.convert([(name, (SAMPLES / name).read_bytes())])[0]


def random_tables(count, seed):
    """Tables of lap files the differential test makes: any unit, sectors and values."""
    rng = random.Random(seed)
    return [oracle.convert([("R.BIL", oracle.make_lap_file(rng))])[0] for _ in range(count)]


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
    # Whole tables of every shape: six sectors, both units, values at their columns' ends.
    kmh_table, mph_table = sample_table("SESSION_KMH.BIL"), sample_table("SESSION_MPH.BIL")
    write("lap_table", "sample-kmh", kmh_table)
    write("lap_table", "sample-mph-lf", mph_table.replace(b"\r\n", b"\n"))
    write("lap_table", "sample-kmh-cr", kmh_table.replace(b"\r\n", b"\r"))
    write("lap_table", "two-tables", kmh_table + mph_table)
    for i, table in enumerate(random_tables(8, 23)):
        write("lap_table", "random-%d" % i, table)


def stream_seeds():
    """The streamed reader: four bytes choosing the read sizes, then a text."""
    kmh_table, mph_table = sample_table("SESSION_KMH.BIL"), sample_table("SESSION_MPH.BIL")
    seeds = {
        "sample-crlf": kmh_table,
        "sample-bom-cr": b"\xef\xbb\xbf" + mph_table.replace(b"\r\n", b"\r"),
        "lf-and-cr-mixed": kmh_table.replace(b"\r\n", b"\n", 5).replace(b"\r\n", b"\r", 5),
        "long-lines": kmh_table[:600] + b"y" * 3000 + b"\r\n" + kmh_table[600:],
        "long-blank-start": kmh_table + b" " * 900 + b"\t" * 300 + b"\r\n" + kmh_table[-600:],
        "second-header": kmh_table + mph_table,
        "bom-only": b"\xef\xbb\xbf",
        "no-table": b"notes\r\nmore notes",
        "empty": b"",
    }
    for name, text in seeds.items():
        write("table_stream", name, struct.pack("<I", 0x9E3779B9 ^ len(text)) + text)


def record_seeds():
    """The streamed record reader: four bytes choosing the read sizes, then a lap file."""
    for i, sample in enumerate(sorted(SAMPLES.glob("*.BIL"))):
        write("record_reader", "sample-" + sample.stem.lower(),
              struct.pack("<I", 7 + i) + sample.read_bytes())
    example = record(2, 2, [block(6523)])
    write("record_reader", "fault-in-third", struct.pack("<I", 99) + example * 2
          + example[:40] + b"\x80\x00" + example[42:])
    write("record_reader", "end-then-more", struct.pack("<I", 5) + example + record(0, 0, [])
          + example)
    write("record_reader", "short-tail", struct.pack("<I", 3) + example + example[:100])
    write("record_reader", "fault-in-word-one", struct.pack("<I", 1) + b"\x80\x01" + example[2:])


def kind_seeds():
    """Input kinds: a length byte, the name, then the first bytes of the input."""
    table = sample_table("EXAMPLE.BIL")
    bil = (SAMPLES / "EXAMPLE.BIL").read_bytes()
    for name, head in [(b"x.BIL", table), (b"x.txt", bil), (b"RUN.Bil", bil), (b"-", bil),
                       (b"-", table), (b"DATA", b""), (b"caf\xe9.TXT", table),
                       (b"laps.bil.txt", bil)]:
        write("input_kind", name.decode("latin-1").replace("/", "_") + "-" + str(len(head)),
              bytes([len(name)]) + name + head)


def session_seeds():
    """Tables whose sessions the text alone tells: restarts of the lap numbers, later headers."""
    kmh_table, mph_table = sample_table("SESSION_KMH.BIL"), sample_table("SESSION_MPH.BIL")
    kmh_laps = kmh_table.split(b"\r\n", 1)[1]
    mph_header = mph_table.split(b"\r\n", 1)[0] + b"\r\n"
    write("sessions_table", "restart", kmh_table + kmh_laps)
    write("sessions_table", "later-header", kmh_table + mph_table)
    write("sessions_table", "header-without-laps", kmh_table + mph_header + mph_header)
    write("sessions_table", "cut-numbers", random_tables(1, 41)[0])
    write("sessions_table", "edited", kmh_table.replace(b"1:0", b"1;0", 3))
    write("sessions_table", "empty", b"")
    for i, text in enumerate([kmh_table + mph_table + kmh_laps, mph_table + kmh_laps]):
        write("day_texts", "sessions-%d" % i, bytes([i, 2, 3, 250]) + text)
    write("day_texts", "no-limit", bytes([1, 0]) + kmh_table)
    write("day_texts", "random", bytes([3, 1, 7]) + random_tables(1, 42)[0])
    write("day_texts", "empty", bytes([0, 0]))


def language_seeds():
    """Settings files as QSettings writes them and as a user may edit them; the first byte
    picks the choice written."""
    for name, text in [
        ("qsettings", b"[General]\nlanguage=ja\n"),
        ("crlf-quoted", b"[General]\r\nlanguage = \"en\"\r\n"),
        ("other-sections", b"[Window]\nlanguage=x\nsize=2\n[General]\nlanguage=ja\nmore=1\n"),
        ("no-section", b"; a comment\nlanguage=ja\n"),
        ("lone-cr", b"[General]\rlanguage=ja\rother=1"),
        ("two-choices", b"[General]\nlanguage=ja\nlanguage=en\n[General]\nlanguage=de\n"),
        ("empty", b""),
    ]:
        write("language_settings", name, bytes([len(name) % 4]) + text)


def option_seeds():
    """miren-convert's arguments, separated by NUL bytes."""
    for name, args in [
        ("table", ["x.BIL"]),
        ("csv-semicolon", ["--format", "csv", "--csv-delimiter", ";", "a.BIL", "b.txt"]),
        ("output-dash", ["-o", "-", "x.BIL"]),
        ("pdf", ["--format", "pdf", "-o", "day.pdf", "a.BIL"]),
        ("pdf-without-o", ["--format=pdf", "a.BIL"]),
        ("decimal-point", ["--decimal-point", ",", "-"]),
        ("exclude", ["--format", "summary", "--exclude-slower", "0", "x"]),
        ("twice", ["-o", "a", "--output", "b", "x"]),
        ("help", ["--help"]),
        ("version", ["--version"]),
        ("latin1-name", ["caf\xe9.BIL"]),
    ]:
        write("convert_options", name, b"\0".join(a.encode("latin-1") for a in args))


if __name__ == "__main__":
    lap_seeds()
    table_seeds()
    settings_seeds()
    text_seeds()
    stream_seeds()
    record_seeds()
    kind_seeds()
    session_seeds()
    language_seeds()
    option_seeds()
