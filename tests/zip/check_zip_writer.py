#!/usr/bin/env python3
"""Reads the archives of the program's ZIP writer back with Python's zipfile, a reader that
shares no code with it. Arguments: ZIP_PROBE_EXE VELMORA_EXE [EMULATOR...]."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

PROBE, EXE, EMULATOR = sys.argv[1], sys.argv[2], sys.argv[3:]
EMPTY_ARCHIVE = b"PK\x05\x06" + bytes(18)


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\") if EMULATOR else path


def probe(archive, *named_files, fresh=True):
    """Runs the probe: a fresh empty archive unless `fresh` is false, then each (name, path)."""
    args = [windows_path(EXE) if fresh else "-", windows_path(archive)]
    for name, path in named_files:
        args += [name, windows_path(path)]
    env = dict(os.environ, LANG="C.UTF-8")  # Wine reads the non-ASCII names in UTF-8
    return subprocess.run(EMULATOR + [PROBE] + args, env=env, stdout=subprocess.DEVNULL).returncode


class ZipWriter(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="velmora_zip_")
        self.archive = self.file("Velmora.zip")

    def tearDown(self):
        shutil.rmtree(self.folder)

    def file(self, name, data=None):
        path = os.path.join(self.folder, name)
        if data is not None:
            with open(path, "wb") as out:
                out.write(data)
        return path

    def read(self, path):
        with open(path, "rb") as source:
            return source.read()

    def test_fresh_archive_is_the_empty_end_record(self):
        self.file("Velmora.zip", b"an older archive, longer than the empty one")
        self.assertEqual(probe(self.archive), 0)
        self.assertEqual(self.read(self.archive), EMPTY_ARCHIVE)
        self.assertEqual(zipfile.ZipFile(self.archive).namelist(), [])

    def test_stored_entries_hold_the_files_bytes_under_their_names(self):
        files = {"Velmora.exe": EXE, "empty.txt": self.file("e", b""), "Grüße.txt": self.file("g", b"\x00\xffhi" * 999)}
        self.assertEqual(probe(self.archive, *files.items()), 0)
        with zipfile.ZipFile(self.archive) as archive:
            self.assertIsNone(archive.testzip())  # every entry's CRC-32 matches its data
            self.assertEqual(archive.namelist(), list(files))
            for info in archive.infolist():
                data = self.read(files[info.filename])
                self.assertEqual(info.compress_type, zipfile.ZIP_STORED)
                self.assertEqual(info.CRC, zlib.crc32(data))
                self.assertEqual(archive.read(info), data)

    def test_entries_of_another_writer_stay_readable(self):
        with zipfile.ZipFile(self.archive, "w", zipfile.ZIP_DEFLATED) as archive:
            archive.writestr("readme.txt", "packed by someone else " * 50)
        self.assertEqual(probe(self.archive, ("Velmora.exe", EXE), fresh=False), 0)
        with zipfile.ZipFile(self.archive) as archive:
            self.assertIsNone(archive.testzip())
            self.assertEqual(archive.read("readme.txt"), b"packed by someone else " * 50)
            self.assertEqual(archive.read("Velmora.exe"), self.read(EXE))

    def test_what_cannot_be_extended_safely_is_refused_and_left_as_it_was(self):
        with zipfile.ZipFile(self.file("commented.zip"), "w") as archive:
            archive.writestr("a.txt", "a")
            archive.comment = b"a comment"
        self.assertEqual(probe(self.archive, ("Velmora.exe", EXE)), 0)
        cases = [(self.archive, "Velmora.exe", EXE),  # that name is taken
                 (self.file("commented.zip"), "b.txt", EXE),
                 (self.file("text.zip", b"not an archive at all"), "b.txt", EXE),
                 (self.archive, "missing.txt", self.file("missing"))]
        for archive, name, source in cases:
            before = self.read(archive)
            self.assertEqual(probe(archive, (name, source), fresh=False), 1, archive)
            self.assertEqual(self.read(archive), before, archive)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
