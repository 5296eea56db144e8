#!/usr/bin/env python3
"""A second, independent converter of lap record files and a differential test of miren-convert.

The converter here is written from the record format and the table layout alone and shares no
code with the C++ one. The differential test generates lap record files from a seeded random
generator, runs every case through both converters and compares the output byte for byte and the
success or failure of the run.

    oracle.py --self-test                      checks the converter against known texts
    oracle.py --binary PATH [--cases N] [--seed S] [--first I] [--keep-dir DIR]
    oracle.py --binary PATH --seed S --case I  replays one generated case
    oracle.py --emulator WRAPPER --binary X.exe ...  runs the binary through WRAPPER (Wine)
    oracle.py --convert [--decimal-point C] FILE...  converts like the tool, to stdout

Standard library only.
"""

import argparse
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

RECORD_SIZE = 228
BLOCK_COUNT = 7
BLOCK_SIZE = 32
CRLF = b"\r\n"

# -------------------------------------------------------------------------------------------------
# The converter
# -------------------------------------------------------------------------------------------------

LAP_PART = {
    0: " LAP   TIME    rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH",
    1: " LAP   TIME    rpm min~max     m/h  GXmax GYmax   TMP1     TMP2  LENGTH",
}
SECTOR_PART = {
    0: " TIME  rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH",
    1: " TIME  rpm min~max     m/h  GXmax GYmax   TMP1     TMP2  LENGTH",
}


def header_line(unit):
    """The table header for unit flag 0 (km/h) or 1 (m/h), without line end."""
    return LAP_PART[unit] + "".join(" SEG" + str(n) + SECTOR_PART[unit] for n in range(1, 7))


def keep_last(text, width):
    return text[-width:] if len(text) > width else text


def render(pattern, number):
    """Renders a whole number through a pattern with one run of '@' placeholders.

    Digits fill the run from the right, unused placeholders become spaces, and digits that do
    not fit are not dropped but stand in front of the run."""
    first = pattern.index("@")
    last = pattern.rindex("@")
    before, run, after = pattern[:first], last - first + 1, pattern[last + 1 :]
    digits = str(number)
    body = digits.rjust(run) if len(digits) <= run else digits
    return before + body + after


def field(pattern, number, width):
    return keep_last(render(pattern, number), width)


def decimal_field(word, point):
    """A peak value in tenths: at least one digit, the point, one digit, two spaces in front."""
    return keep_last("  " + str(word // 10) + point + str(word % 10), 6)


def time_text(t):
    """The lap time text for t hundredths of a second (t > 0)."""
    if t > 59999:
        return "-:--.--"
    minutes, rest = divmod(t, 6000)
    return (" " + str(minutes))[-1] + ":" + str(rest // 100).zfill(2) + "." + str(rest % 100).zfill(2)


def block_text(values, point):
    """values: the twelve shown values of a present block, in record order:
    time, rpm min, rpm max, speed min, speed max, TMP1 min, TMP1 max, TMP2 min, TMP2 max,
    GX max, GY max, LENGTH."""
    t, rpm_lo, rpm_hi, spd_lo, spd_hi, t1_lo, t1_hi, t2_lo, t2_hi, gx, gy, length = values
    return (
        "  " + time_text(t) + " "
        + field("  @@@@@~", rpm_lo, 8)
        + field("@@@@@", rpm_hi, 5)
        + field("  @@@@~", spd_lo, 6)
        + field(" @@@", spd_hi, 3)
        + decimal_field(gx, point)
        + decimal_field(gy, point)
        + field("  @@@", t1_lo, 5)
        + field("~@@@", t1_hi, 4)
        + field("  @@@", t2_lo, 5)
        + field("~@@@", t2_hi, 4)
        + field("     @@@@@  ", length, 8)
    )


def lap_line(lap_number, blocks, point):
    return field(" @@@@", lap_number, 4) + "".join(block_text(b, point) for b in blocks)


class FormatError(Exception):
    """A record that cannot be read: a word with a high byte of 0x80 or more, or a lap index
    whose lap number does not fit in a 16-bit signed word."""

    def __init__(self, offset, reason):
        super().__init__(f"{reason} at record byte {offset}")
        self.offset = offset


def word_at(record, offset):
    if record[offset] >= 0x80:
        raise FormatError(offset, "high byte 0x%02X" % record[offset])
    return record[offset] * 256 + record[offset + 1]


# Kinds of file entries that are not readable lap record files.
MISSING = "missing"
FOLDER = "folder"
LOOP = "symlink loop"


def convert(files, point="."):
    """Converts a run of files as "bil load" followed by "Text save" would.

    files: a list of (name, entry) where entry is the file's bytes or one of MISSING, FOLDER,
    LOOP. Returns (output bytes, ok, reason): the bytes a text save writes (empty when the view
    is empty), whether every file converted, and why not."""
    text = []
    header_pending = True

    def result(ok, reason=""):
        body = "".join(text).encode("utf-8")
        return (body + CRLF if body else b""), ok, reason

    for name, entry in files:
        if not isinstance(entry, (bytes, bytearray)):
            return result(False, f"{name}: {entry}")
        # Only complete records are converted; a shorter final piece is ignored.
        for start in range(0, len(entry) - RECORD_SIZE + 1, RECORD_SIZE):
            record = entry[start : start + RECORD_SIZE]
            try:
                record_word = word_at(record, 0)
                if record_word == 0:
                    break
                if header_pending:
                    text.append(header_line(record_word & 1) + "\r\n")
                    header_pending = False
                lap_index = word_at(record, 2)
                if lap_index == 32767:
                    raise FormatError(2, "lap index 32767")
                blocks = []
                for k in range(BLOCK_COUNT):
                    p = 4 + BLOCK_SIZE * k
                    if word_at(record, p) == 0:
                        break
                    words = [word_at(record, p + 2 * i) for i in range(16)]
                    blocks.append(words[0:9] + words[13:16])
            except FormatError as e:
                return result(False, f"{name}: record at byte {start}: {e}")
            text.append(lap_line(lap_index + 1, blocks, point) + "\r\n")
    return result(True)


# -------------------------------------------------------------------------------------------------
# Record and file builders
# -------------------------------------------------------------------------------------------------


def put_word(buf, offset, value):
    buf[offset] = (value >> 8) & 0xFF
    buf[offset + 1] = value & 0xFF


def make_record(record_word, lap_index, blocks, tail=None):
    """A 228-byte record. blocks: lists of 16 words (all of them, unshown ones included) or of
    the 12 shown ones. After the last given block the next time word is 0 and the rest is filled
    from tail (bytes), zeros by default."""
    buf = bytearray(RECORD_SIZE)
    put_word(buf, 0, record_word)
    put_word(buf, 2, lap_index)
    for k, words in enumerate(blocks):
        if len(words) == 12:
            words = list(words[0:9]) + [0, 0, 0, 0] + list(words[9:12])
        for i, w in enumerate(words):
            put_word(buf, 4 + BLOCK_SIZE * k + 2 * i, w)
    end = 4 + BLOCK_SIZE * len(blocks)
    if tail is not None and end < RECORD_SIZE:
        # Garbage after the zero time word of the first absent block.
        rest = bytes(tail[: RECORD_SIZE - end - 2]).ljust(RECORD_SIZE - end - 2, b"\0")
        buf[end + 2 :] = rest
    return bytes(buf)


WORD_BOUNDARIES = [0, 9, 10, 99, 100, 999, 1000, 9999, 10000, 32767]
TIME_BOUNDARIES = [1, 9, 10, 99, 100, 999, 1000, 5999, 6000, 6523, 9999, 10000, 32767]
LAP_INDEXES = [0, 1, 8, 9, 98, 99, 998, 999, 9998, 9999, 32766]


def pick_word(rng, boundaries=WORD_BOUNDARIES):
    return rng.choice(boundaries) if rng.random() < 0.7 else rng.randint(0, 32767)


SEVEN_BIT = bytes(b & 0x7F for b in range(256))


def random_bytes(rng, n, seven_bit=False):
    data = rng.randbytes(n)
    return data.translate(SEVEN_BIT) if seven_bit else data


def make_lap_record(rng, unit=None, fault=None):
    """A structured lap record with field values at the digit-count boundaries.

    fault: None, or where to put a high byte of 0x80 or more: 'record', 'lap', 'lapmax' (lap
    index 32767), 'shown', 'unshown', 'absent' (no failure expected: that part is never read)."""
    if unit is None:
        unit = rng.randint(0, 1)
    record_word = rng.choice([2, 4, 0x10, 0x7FFE, rng.randint(1, 32767)]) & ~1 | unit
    if record_word == 0:
        record_word = 2
    lap_index = rng.choice(LAP_INDEXES) if rng.random() < 0.6 else rng.randint(0, 32766)
    nblocks = rng.randint(0, 7)
    blocks = []
    for _ in range(nblocks):
        words = [pick_word(rng, TIME_BOUNDARIES)] + [pick_word(rng) for _ in range(15)]
        blocks.append(words)
    tail = None
    if nblocks < 7 and rng.random() < 0.6:
        tail = random_bytes(rng, RECORD_SIZE)
    buf = bytearray(make_record(record_word, lap_index, blocks, tail))
    bad = rng.randint(0x80, 0xFF)
    if fault == "record":
        buf[0] = bad
    elif fault == "lap":
        buf[2] = bad
    elif fault == "lapmax":
        buf[2], buf[3] = 0x7F, 0xFF
    elif fault in ("shown", "unshown") and nblocks > 0:
        k = rng.randrange(nblocks)
        i = rng.choice([0, 1, 2, 3, 4, 5, 6, 7, 8, 13, 14, 15] if fault == "shown" else [9, 10, 11, 12])
        buf[4 + BLOCK_SIZE * k + 2 * i] = bad
    elif fault == "absent" and nblocks < 7:
        start = 4 + BLOCK_SIZE * nblocks + 2
        buf[rng.randrange(start, RECORD_SIZE)] = bad
    return bytes(buf)


def make_end_record(rng):
    """A record with record word 0; whatever follows it is never read."""
    return b"\0\0" + random_bytes(rng, RECORD_SIZE - 2)


def make_lap_file(rng, unit=None):
    """A file of lap records, perhaps with faults, an end record with junk, a short final piece."""
    parts = []
    for _ in range(rng.choice([0, 1, 1, 2, 3, 5])):
        roll = rng.random()
        if roll < 0.80:
            fault = None
        elif roll < 0.86:
            fault = "absent"
        else:
            fault = rng.choice(["record", "lap", "lapmax", "shown", "unshown"])
        parts.append(make_lap_record(rng, unit, fault))
    roll = rng.random()
    if roll < 0.25:
        parts.append(make_end_record(rng))
        parts.append(random_bytes(rng, rng.randint(0, 2 * RECORD_SIZE)))
    elif roll < 0.40:
        parts.append(random_bytes(rng, rng.randint(1, RECORD_SIZE - 1)))
    elif roll < 0.45:
        # A final piece that starts like a lap record but is cut short.
        parts.append(make_lap_record(rng, unit)[: rng.randint(1, RECORD_SIZE - 1)])
    return b"".join(parts)


def make_long_file(rng, unit=None):
    """Hundreds of lap records, sometimes with a fault near the end."""
    records = [make_lap_record(rng, unit) for _ in range(rng.randint(300, 1200))]
    if rng.random() < 0.3:
        records[-rng.randint(1, 5)] = make_lap_record(rng, unit, "shown")
    return b"".join(records)


def make_file(rng, unit=None):
    roll = rng.random()
    if roll < 0.01:
        return make_long_file(rng, unit)
    if roll < 0.70:
        return make_lap_file(rng, unit)
    if roll < 0.80:
        # Random bytes with the high bits cleared: every word is readable, all fields busy.
        n = rng.choice([RECORD_SIZE, 2 * RECORD_SIZE, rng.randint(0, 4 * RECORD_SIZE)])
        return random_bytes(rng, n, seven_bit=True)
    if roll < 0.88:
        return random_bytes(rng, rng.randint(0, 3 * RECORD_SIZE))
    if roll < 0.94:
        return b""
    return make_end_record(rng) + make_lap_file(rng, unit)


class Case:
    def __init__(self, files, point, to_file, absolute):
        self.files = files  # list of (name, bytes or MISSING/FOLDER/LOOP)
        self.point = point  # "." or "," or None (option left out, C locale)
        self.to_file = to_file  # -o instead of stdout
        self.absolute = absolute  # absolute instead of bare paths

    def describe(self):
        kinds = []
        for name, entry in self.files:
            size = f"{len(entry)} bytes" if isinstance(entry, bytes) else entry
            kinds.append(f"{name}({size})")
        return (
            f"files={' '.join(kinds)} decimal-point={self.point!r} "
            f"output={'-o' if self.to_file else 'stdout'} "
            f"paths={'absolute' if self.absolute else 'bare'}"
        )


def generate_case(seed, index):
    rng = random.Random(f"{seed}/{index}")
    nfiles = rng.choice([1, 1, 1, 2, 2, 3, 4])
    unit = rng.choice([None, 0, 1])
    files = []
    for i in range(nfiles):
        # Now and then a name with a blank or with non-ASCII letters.
        name = rng.choice([f"F{i}.BIL"] * 8 + [f"lap {i}.BIL", f"ラップ{i}.BIL"])
        entry = make_file(rng, unit)
        if nfiles > 1 and 0 < i < nfiles - 1 or (nfiles > 1 and rng.random() < 0.1):
            roll = rng.random()
            if roll < 0.15:
                entry = MISSING
            elif roll < 0.25:
                entry = FOLDER
            elif roll < 0.28:
                entry = LOOP
            elif roll < 0.40:
                entry = b""
            elif roll < 0.50:
                entry = make_end_record(rng)
        if files and rng.random() < 0.05:
            name, entry = rng.choice(files)  # the same file named twice
        files.append((name, entry))
    point = rng.choice([".", ".", ",", ",", None])
    return Case(files, point, rng.random() < 0.5, rng.random() < 0.2)


# -------------------------------------------------------------------------------------------------
# Running the converter under test
# -------------------------------------------------------------------------------------------------


def write_case_files(case, folder):
    os.makedirs(folder, exist_ok=True)
    for name, entry in dict(case.files).items():
        path = os.path.join(folder, name)
        if isinstance(entry, bytes):
            with open(path, "wb") as f:
                f.write(entry)
        elif entry == FOLDER:
            os.mkdir(path)
        elif entry == LOOP:
            os.symlink(name, path)


# Command that runs the binary, e.g. Wine for a Windows build tested on Linux (--emulator).
EMULATOR = []


def run_timeout():
    """Seconds one run may take: under an emulator the first run may make Wine's prefix first,
    which takes minutes on a busy machine."""
    return 600 if EMULATOR else 60


def command_line(binary, case, folder):
    args = EMULATOR + [binary]
    if case.point is not None:
        args += ["--decimal-point", case.point]
    if case.to_file:
        args += ["-o", os.path.join(folder, "out.txt") if case.absolute else "out.txt"]
    for name, _ in case.files:
        args.append(os.path.join(folder, name) if case.absolute else name)
    return args


def run_binary(binary, case, folder):
    """Runs the binary on a case whose files are in folder; returns (output, status, stderr).
    Output is None when -o was given and no file was made."""
    env = dict(os.environ, LC_ALL="C", LANG="C")
    proc = subprocess.run(
        command_line(binary, case, folder), cwd=folder, env=env, capture_output=True,
        timeout=run_timeout()
    )
    output = proc.stdout
    if case.to_file:
        if proc.stdout:
            return b"<stdout with -o: " + proc.stdout[:200] + b">", proc.returncode, proc.stderr
        out = os.path.join(folder, "out.txt")
        output = None
        if os.path.exists(out):
            with open(out, "rb") as f:
                output = f.read()
    return output, proc.returncode, proc.stderr


def hex_dump(data, centre, span=48):
    start = max(0, centre - span) & ~15
    end = min(len(data), centre + span)
    lines = []
    for off in range(start, end, 16):
        chunk = data[off : min(off + 16, end)]
        hexes = " ".join("%02X" % b for b in chunk)
        text = "".join(chr(b) if 32 <= b < 127 else "." for b in chunk)
        lines.append("  %06X  %-47s  %s" % (off, hexes, text))
    return "\n".join(lines) if lines else "  (nothing)"


def compare(case, expected, ok, actual, status, stderr):
    """Returns None when the binary agrees with the oracle, else a description."""
    problems = []
    want_status = 0 if ok else 1
    if status != want_status:
        problems.append(f"exit status {status}, expected {want_status}")
    if case.to_file and not expected:
        if actual is not None:
            problems.append(f"-o file was created ({len(actual)} bytes) although the text is empty")
        actual = b""
    elif actual is None:
        problems.append("-o file was not created")
        actual = b""
    if actual != expected:
        first = next(
            (i for i in range(min(len(actual), len(expected))) if actual[i] != expected[i]),
            min(len(actual), len(expected)),
        )
        problems.append(
            f"output differs at byte {first} (expected {len(expected)} bytes, got {len(actual)})\n"
            f" expected:\n{hex_dump(expected, first)}\n actual:\n{hex_dump(actual, first)}"
        )
    if not ok and not stderr.strip():
        problems.append("failed run printed no message on stderr")
    return "\n".join(problems) if problems else None


def check_case(binary, case, work, keep_dir, label):
    """Runs one case; on a mismatch keeps its files for replay and returns the report."""
    folder = os.path.join(work, "case")
    shutil.rmtree(folder, ignore_errors=True)
    write_case_files(case, folder)
    expected, ok, reason = convert(case.files, case.point or ".")
    actual, status, stderr = run_binary(binary, case, folder)
    problem = compare(case, expected, ok, actual, status, stderr)
    if problem is None:
        return None
    os.makedirs(keep_dir, exist_ok=True)
    kept = os.path.join(keep_dir, label.replace(" ", "_").replace("/", "_"))
    shutil.rmtree(kept, ignore_errors=True)
    write_case_files(case, kept)
    with open(os.path.join(kept, "expected.out"), "wb") as f:
        f.write(expected)
    with open(os.path.join(kept, "actual.out"), "wb") as f:
        f.write(actual or b"")
    with open(os.path.join(kept, "replay.sh"), "w") as f:
        args = command_line(os.path.abspath(binary), case, kept)
        f.write("#!/bin/sh\n# expected exit status %d (%s)\ncd \"$(dirname \"$0\")\" && LC_ALL=C %s\n"
                % (0 if ok else 1, reason or "success", " ".join("'%s'" % a for a in args)))
    return (
        f"MISMATCH {label}: {case.describe()}\n oracle: {'ok' if ok else 'fails: ' + reason}\n"
        f" stderr: {stderr.decode('utf-8', 'replace').strip()[:300]}\n{problem}\n"
        f" case files kept in {kept}"
    )


# -------------------------------------------------------------------------------------------------
# Hand-checked cases and self-test
# -------------------------------------------------------------------------------------------------

# The 68 leading bytes of a record with lap index 2 and two present blocks; the rest is zero.
EXAMPLE_RECORD = bytes.fromhex(
    "00 02 00 02 19 7B 0D AC 26 48 00 2D 00 A2 00 50 00 5F 00 46 00 58 00 00 00 00 00 00 00 00"
    " 00 0C 00 09 09 92"
    " 07 DC 10 04 25 B2 00 3C 00 9B 00 52 00 5A 00 47 00 50 00 00 00 00 00 00 00 00 00 08 00 0B"
    " 03 2A"
).ljust(RECORD_SIZE, b"\0")

EXAMPLE_LINE = (
    "   3  1:05.23    3500~ 9800   45~162  1.2  0.9   80~ 95   70~ 88  2450  "
    "  0:20.12    4100~ 9650   60~155  0.8  1.1   82~ 90   71~ 80   810  "
)

KMH_HEADER = (
    " LAP   TIME    rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH"
    + "".join(
        f" SEG{n} TIME  rpm min~max    km/h  GXmax GYmax   TMP1     TMP2  LENGTH" for n in range(1, 7)
    )
)


def hand_cases():
    """(label, Case, expected output, expected ok), checked by hand rather than by convert()."""
    example_out = (KMH_HEADER + "\r\n" + EXAMPLE_LINE + "\r\n\r\n").encode()
    comma_line = EXAMPLE_LINE.replace("1.2", "1,2").replace("0.9", "0,9")
    comma_line = comma_line.replace("0.8", "0,8").replace("1.1", "1,1")
    one_block = make_record(3, 9999, [[100, 0, 32767, 0, 1234, 1234, 99, 0, 5, 99, 100, 10000]])
    one_block_line = "0000  0:01.00       0~32767    0~234  9.9  10.0 1234~ 99    0~  5 10000  "
    return [
        ("worked example", Case([("A.BIL", EXAMPLE_RECORD)], ".", False, False), example_out, True),
        (
            "worked example, comma",
            Case([("A.BIL", EXAMPLE_RECORD)], ",", True, False),
            (KMH_HEADER + "\r\n" + comma_line + "\r\n\r\n").encode(),
            True,
        ),
        (
            "worked example twice, end record between, second file missing",
            Case(
                [("A.BIL", EXAMPLE_RECORD + bytes(RECORD_SIZE) + EXAMPLE_RECORD), ("B.BIL", MISSING)],
                ".",
                False,
                False,
            ),
            example_out,
            False,
        ),
        (
            "one block at the field limits, m/h",
            Case([("A.BIL", make_record(1, 0, []) + one_block)], ".", False, False),
            (
                KMH_HEADER.replace("km/h", " m/h") + "\r\n   1\r\n" + one_block_line + "\r\n\r\n"
            ).encode(),
            True,
        ),
        ("end record only", Case([("A.BIL", bytes(RECORD_SIZE))], ".", True, False), b"", True),
        (
            "bad record word first",
            Case([("A.BIL", b"\x80\x01" + bytes(RECORD_SIZE - 2))], ".", True, False),
            b"",
            False,
        ),
        (
            "lap index 32767 after the header",
            Case([("A.BIL", make_record(2, 32767, []))], ".", False, False),
            (KMH_HEADER + "\r\n\r\n").encode(),
            False,
        ),
    ]


def self_test():
    failures = []

    def check(label, got, want):
        if got != want:
            failures.append(f"{label}: got {got!r}, expected {want!r}")

    for t, want in [(1, "0:00.01"), (6000, "1:00.00"), (6523, "1:05.23"), (59999, "9:59.99"),
                    (60000, "-:--.--"), (32767, "5:27.67"), (100, "0:01.00"), (5999, "0:59.99")]:
        check(f"time {t}", time_text(t), want)
    for unit in (0, 1):
        check(f"header length, unit {unit}", len(header_line(unit)), 479)
        check(f"lap part length, unit {unit}", len(LAP_PART[unit]), 71)
        check(f"sector part length, unit {unit}", len(SECTOR_PART[unit]), 63)
    check("header km/h", header_line(0), KMH_HEADER)
    check("header m/h count", header_line(1).count(" m/h"), 7)
    check("header m/h has no km/h", "km/h" in header_line(1), False)

    example_blocks = [
        [6523, 3500, 9800, 45, 162, 80, 95, 70, 88, 12, 9, 2450],
        [2012, 4100, 9650, 60, 155, 82, 90, 71, 80, 8, 11, 810],
    ]
    check("example line", lap_line(3, example_blocks, "."), EXAMPLE_LINE)
    check("example block width", len(block_text(example_blocks[0], ".")), 68)
    check("example record bytes", make_record(2, 2, example_blocks), EXAMPLE_RECORD)

    for value, want in [(9999, "9999"), (10000, "0000"), (12345, "2345"), (3, "   3"), (32767, "2767")]:
        check(f"lap field {value}", field(" @@@@", value, 4), want)
    for pattern, width, value, want in [
        (" @@@", 3, 1234, "234"), (" @@@", 3, 5, "  5"), ("~@@@", 4, 1234, "1234"),
        ("~@@@", 4, 12, "~ 12"), ("~@@@", 4, 32767, "2767"), ("  @@@@@~", 8, 32767, "  32767~"),
        ("  @@@@~", 6, 32767, "32767~"), ("  @@@@~", 6, 0, "    0~"), ("  @@@", 5, 32767, "32767"),
        ("@@@@@", 5, 7, "    7"), ("     @@@@@  ", 8, 32767, " 32767  "),
        ("     @@@@@  ", 8, 0, "     0  "),
    ]:
        check(f"pattern {pattern!r} {value}", field(pattern, value, width), want)
    for value, want in [(0, "  0.0"), (99, "  9.9"), (100, "  10.0"), (999, "  99.9"), (1000, " 100.0"),
                        (9999, " 999.9"), (10000, "1000.0"), (32767, "3276.7")]:
        check(f"decimal {value}", decimal_field(value, "."), want)
    check("decimal comma", decimal_field(12, ","), "  1,2")

    # Whole runs: (label, files, expected text before the final CR LF, expected success).
    lap = EXAMPLE_RECORD
    head = KMH_HEADER + "\r\n"
    line = EXAMPLE_LINE + "\r\n"
    bad_third = bytearray(lap * 3)
    bad_third[2 * RECORD_SIZE + 40] = 0x80
    unshown = bytearray(lap)
    unshown[4 + 18] = 0x90
    absent = bytearray(lap)
    absent[4 + 2 * BLOCK_SIZE + 2 :] = b"\xff" * (RECORD_SIZE - 4 - 2 * BLOCK_SIZE - 2)
    mh_head = header_line(1) + "\r\n"
    runs = [
        ("example", [lap], head + line, True),
        ("second of three missing", [lap, MISSING, lap], head + line, False),
        ("header from the second file", [bytes(RECORD_SIZE), make_record(1, 0, [])],
         mh_head + "   1\r\n", True),
        ("unit from the first lap record only", [make_record(3, 0, []), make_record(2, 1, [])],
         mh_head + "   1\r\n   2\r\n", True),
        ("overflow in the third record", [bytes(bad_third)], head + line + line, False),
        ("fault in the first record word", [b"\x80" + lap[1:]], "", False),
        ("lap index 32767", [make_record(2, 32767, [])], head, False),
        ("lap index 32766", [make_record(2, 32766, [])], head + "2767\r\n", True),
        ("fault in an unshown word", [bytes(unshown)], head, False),
        ("fault after a zero time word", [bytes(absent)], head + line, True),
        ("short final piece", [lap + lap[:100]], head + line, True),
        ("end record, then a lap record", [bytes(RECORD_SIZE) + lap], "", True),
        ("empty file", [b""], "", True),
        ("folder", [FOLDER], "", False),
    ]
    for label, entries, text, ok in runs:
        files = [(f"F{i}", e) for i, e in enumerate(entries)]
        want = (text + "\r\n").encode() if text else b""
        check(f"run: {label}", convert(files)[:2], (want, ok))

    for label, case, want, want_ok in hand_cases():
        check(f"hand case {label}", convert(case.files, case.point)[:2], (want, want_ok))

    # The generator must produce every kind of case it promises, and be repeatable.
    check("repeatable generation", generate_case(5, 17).describe(), generate_case(5, 17).describe())

    for f in failures:
        print("FAIL", f)
    print(f"self-test: {len(failures)} failure(s)")
    return 0 if not failures else 1


# -------------------------------------------------------------------------------------------------
# Command line
# -------------------------------------------------------------------------------------------------


def usage_cases(binary, work):
    """Bad usage must exit with status 2 and write nothing; a write failure must not pass."""
    failures = []
    folder = os.path.join(work, "usage")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    with open(os.path.join(folder, "A.BIL"), "wb") as f:
        f.write(EXAMPLE_RECORD)
    for args in [[], ["--decimal-point"], ["-o"], ["--no-such-option", "A.BIL"], ["-o", "out.txt"]]:
        proc = subprocess.run(EMULATOR + [binary] + args, cwd=folder, capture_output=True,
                              timeout=run_timeout())
        if proc.returncode != 2 or proc.stdout:
            failures.append(f"USAGE {args}: exit status {proc.returncode}, "
                            f"{len(proc.stdout)} bytes on stdout, expected status 2 and no output")
    # A failed write is a failure, never a success.
    proc = subprocess.run(EMULATOR + [binary, "-o", os.path.join(folder, "no-such-folder", "out.txt"), "A.BIL"],
                          cwd=folder, capture_output=True, timeout=run_timeout())
    if proc.returncode == 0 or not proc.stderr.strip():
        failures.append(f"WRITE FAILURE: -o into a missing folder gave exit status {proc.returncode}"
                        f" and {'a' if proc.stderr.strip() else 'no'} message, expected a nonzero status"
                        " and a message")
    return failures


def run_differential(args):
    binary = os.path.abspath(args.binary)
    keep_dir = os.path.abspath(args.keep_dir)
    work = tempfile.mkdtemp(prefix="oracle-")
    failures = []
    stats = {"ok": 0, "fail": 0, "empty": 0, "run": 0, "fixed": 0}
    started = time.monotonic()
    try:
        failures += usage_cases(binary, work)
        if args.case is None:
            for label, case, want, want_ok in hand_cases():
                got = convert(case.files, case.point or ".")[:2]
                if got != (want, want_ok):
                    failures.append(f"oracle disagrees with hand case {label}")
                problem = check_case(binary, case, work, keep_dir, f"hand {label}")
                stats["fixed"] += 1
                if problem:
                    failures.append(problem)
        if args.case is None and args.samples and os.path.isdir(args.samples):
            # The committed sample files, alone and all in one run.
            names = sorted(n for n in os.listdir(args.samples) if n.endswith(".BIL"))
            samples = []
            for n in names:
                with open(os.path.join(args.samples, n), "rb") as f:
                    samples.append((n, f.read()))
            runs = [[s] for s in samples] + ([samples] if len(samples) > 1 else [])
            for files in runs:
                for point in (".", ","):
                    case = Case(files, point, False, False)
                    label = f"sample {'+'.join(n for n, _ in files)} {point}"
                    problem = check_case(binary, case, work, keep_dir, label)
                    stats["fixed"] += 1
                    if problem:
                        failures.append(problem)
        indexes = [args.case] if args.case is not None else range(args.first, args.first + args.cases)
        for i in indexes:
            case = generate_case(args.seed, i)
            expected, ok, _ = convert(case.files, case.point or ".")
            stats["run"] += 1
            stats["ok" if ok else "fail"] += 1
            stats["empty"] += not expected
            problem = check_case(binary, case, work, keep_dir, f"seed {args.seed} case {i}")
            if problem:
                emulator = f"--emulator {args.emulator} " if args.emulator else ""
                failures.append(problem + f"\n replay: {sys.argv[0]} {emulator}--binary {args.binary} "
                                          f"--seed {args.seed} --case {i}")
                if len(failures) >= args.max_failures:
                    break
    finally:
        shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print(f, end="\n\n")
    print(f"seed {args.seed}: {stats['run']} generated cases "
          f"({stats['ok']} succeed, {stats['fail']} fail, "
          f"{stats['empty']} with empty output) and {stats['fixed']} fixed cases "
          f"in {time.monotonic() - started:.1f} s; "
          f"{len(failures)} mismatch(es)")
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--self-test", action="store_true")
    parser.add_argument("--binary")
    parser.add_argument("--cases", type=int, default=1000)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--first", type=int, default=0, help="index of the first generated case")
    parser.add_argument("--case", type=int, help="run only this generated case")
    parser.add_argument("--max-failures", type=int, default=20)
    parser.add_argument("--keep-dir", default="oracle-mismatches",
                        help="where the files of mismatching cases are kept")
    parser.add_argument("--samples", default=os.path.join(os.path.dirname(__file__), "..", "..", "samples"),
                        help="folder of sample .BIL files that are also compared")
    parser.add_argument("--convert", nargs="+", metavar="FILE")
    parser.add_argument("--decimal-point", default=".")
    parser.add_argument("--emulator", help="program that runs the binary (e.g. a Wine wrapper)")
    args = parser.parse_args()
    if args.emulator:
        EMULATOR.append(args.emulator)
    if args.self_test:
        return self_test()
    if args.convert:
        files = []
        for path in args.convert:
            try:
                with open(path, "rb") as f:
                    files.append((path, f.read()))
            except OSError as e:
                files.append((path, str(e)))
        out, ok, reason = convert(files, args.decimal_point)
        sys.stdout.buffer.write(out)
        if not ok:
            print(reason, file=sys.stderr)
        return 0 if ok else 1
    if not args.binary:
        parser.error("--binary, --self-test or --convert is required")
    return run_differential(args)


if __name__ == "__main__":
    sys.exit(main())
