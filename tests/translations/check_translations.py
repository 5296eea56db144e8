#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fails when a translation file is not complete for the sources as they are now.

Runs lupdate over the source folder into a copy of each .ts file (the committed files stay as
they are) and reports every message that lupdate leaves unfinished (a new or changed source
text, an empty translation) or marks vanished or obsolete (a text the sources no longer hold),
every translation whose %1..%99 markers differ from its source's, and every tr() call lupdate
cannot read.

Usage: check_translations.py LUPDATE SOURCE_DIR TS_FILE[:OPTION,...] ... [-- LUPDATE_OPTION ...]
  e.g. check_translations.py lupdate src translations/x_ja.ts translations/x_en.ts:-pluralonly
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

MARKER = re.compile(r"%(\d{1,2})")


def problems_of(ts_path):
    found = []
    root = ET.parse(ts_path).getroot()
    for context in root.iter("context"):
        name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source") or ""
            translation = message.find("translation")
            where = f"{name}: \"{source}\""
            kind = translation.get("type") if translation is not None else "unfinished"
            if kind in ("unfinished", "vanished", "obsolete"):
                found.append(f"{kind}: {where}")
                continue
            forms = translation.findall("numerusform") if message.get("numerus") == "yes" else [translation]
            markers = sorted(set(MARKER.findall(source)))
            for form in forms:
                text = form.text or ""
                if not text.strip():
                    found.append(f"empty translation: {where}")
                elif sorted(set(MARKER.findall(text))) != markers:
                    found.append(f"markers %1..%99 differ from the source: {where} -> \"{text}\"")
    return found


def main(argv):
    if "--" in argv:
        cut = argv.index("--")
        argv, common = argv[:cut], argv[cut + 1:]
    else:
        common = []
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    lupdate, source_dir, ts_entries = argv[1], argv[2], argv[3:]
    failures = []
    with tempfile.TemporaryDirectory(prefix="ts-check-") as scratch:
        for entry in ts_entries:
            ts_file, _, extra = entry.partition(":")
            options = [o for o in extra.split(",") if o]
            copy = os.path.join(scratch, os.path.basename(ts_file))
            shutil.copyfile(ts_file, copy)
            run = subprocess.run([lupdate, *common, *options, source_dir, "-ts", copy],
                                 capture_output=True, text=True)
            if run.returncode != 0:
                failures.append(f"{ts_file}: lupdate failed ({run.returncode}):\n{run.stdout}{run.stderr}")
                continue
            # A tr() that lupdate cannot place in a context is a text no .ts file ever holds.
            failures += [f"{ts_file}: lupdate cannot read: {line}"
                         for line in (run.stdout + run.stderr).splitlines()
                         if "cannot be called without context" in line]
            failures += [f"{ts_file}: {p}" for p in problems_of(copy)]
    if failures:
        print("\n".join(failures))
        print(f"\n{len(failures)} problem(s). Update the files with\n"
              "  cmake --build <build> --target update_translations\n"
              "then translate the unfinished texts in Linguist (linguist translations/*.ts).")
        return 1
    print(f"translations complete: {', '.join(os.path.basename(s.partition(':')[0]) for s in ts_entries)}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
