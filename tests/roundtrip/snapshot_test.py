#!/usr/bin/env python3
"""Tests of the snapshot tool's registry reader and comparison."""

import os
import tempfile
import time
import types
import unittest

# The tool is a script without the .py ending; load it as a module.
_TOOL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "snapshot")
snapshot = types.ModuleType("snapshot")
with open(_TOOL, encoding="utf-8") as _f:
    exec(compile(_f.read(), _TOOL, "exec"), snapshot.__dict__)

HEADER = "\ufeffWindows Registry Editor Version 5.00\r\n\r\n"


def parse(body):
    return snapshot.parse_reg(HEADER + body.replace("\n", "\r\n"))


class RegParserTest(unittest.TestCase):
    def test_value_forms(self):
        keys = parse(
            '[HKEY_LOCAL_MACHINE\\Software\\Demo]\n'
            '@="default"\n'
            '"Path"="C:\\\\Demo\\\\\\"x\\" y"\n'
            '"Count"=dword:0000002a\n'
            '"Big"=hex(b):88,77,66,55,44,33,22,11\n'
            '"Exp"=hex(2):25,00,41,00,25,00,5c,00,62,00,00,00\n'
            '"Multi"=hex(7):61,00,00,00,00,00,62,00,00,00,00,00\n'
            '"Empty"=hex(7):00,00\n'
            '"Bin"=hex:01,02,\\\n'
            '  03,04,\\\n'
            '  05\n'
            '"None"=hex(0):\n'
            '"Odd"=hex(2):41\n'
            '\n'
            '[HKEY_CURRENT_USER\\Software\\Demo\\Sub]\n')
        self.assertEqual(keys["HKLM\\Software\\Demo"], {
            "": ("REG_SZ", "default"),
            "Path": ("REG_SZ", 'C:\\Demo\\"x" y'),
            "Count": ("REG_DWORD", 42),
            "Big": ("REG_QWORD", 0x1122334455667788),
            "Exp": ("REG_EXPAND_SZ", "%A%\\b"),
            "Multi": ("REG_MULTI_SZ", ["a", "", "b"]),
            "Empty": ("REG_MULTI_SZ", []),
            "Bin": ("REG_BINARY", "0102030405"),
            "None": ("REG_NONE", ""),
            # Data that does not fit its type keeps its bytes.
            "Odd": ("hex(2)", "41"),
        })
        self.assertEqual(keys["HKCU\\Software\\Demo\\Sub"], {})

    def test_names_differing_in_case_are_one(self):
        keys = parse('[HKEY_CURRENT_USER\\Software\\A]\n"v"="1"\n'
                     '[HKEY_CURRENT_USER\\SOFTWARE\\a]\n"V"="2"\n')
        self.assertEqual(keys, {"HKCU\\Software\\A": {"V": ("REG_SZ", "2")}})

    def test_escaped_newline_and_quote_in_names(self):
        keys = parse('[HKEY_CURRENT_USER\\Software\\A]\n"a\\"b\\\\c"="x\\ny"\n')
        self.assertEqual(keys["HKCU\\Software\\A"], {'a"b\\c': ("REG_SZ", "x\ny")})

    def test_malformed_input_is_refused(self):
        for body in ('"v"="before any key"\n',
                     '[HKEY_CURRENT_USER\\A]\n"v"="open\n',
                     '[HKEY_CURRENT_USER\\A]\n"v"=dword:xyz\n',
                     '[HKEY_CURRENT_USER\\A]\n"v"=hex:zz\n',
                     '[HKEY_CURRENT_USER\\A]\n"v"\n'):
            with self.subTest(body=body), self.assertRaises(snapshot.SnapshotError):
                parse(body)
        with self.assertRaises(snapshot.SnapshotError):
            snapshot.parse_reg("REGEDIT4\r\n")

    def test_volatile_values_and_keys_are_dropped(self):
        table = [("HKLM\\Software\\Wine*", None, ""), ("HKCU\\Software\\A", "Stamp*", "")]
        keys = {"HKLM\\Software\\Wine": {}, "HKLM\\Software\\wine\\Sub": {},
                "HKCU\\Software\\A": {"stamp1": ("REG_SZ", "t"), "Keep": ("REG_SZ", "k")}}
        self.assertEqual(snapshot.drop_volatile(keys, table),
                         {"HKCU\\Software\\A": {"Keep": ("REG_SZ", "k")}})


def record(files=None, registry=None):
    return {"format": 1, "files": files or {}, "registry": registry or {}}


def file_entry(size, digest):
    return {"kind": "file", "size": size, "sha256": digest}


class CompareTest(unittest.TestCase):
    BEFORE = record(
        files={"C:\\App": {"kind": "dir"},
               "C:\\App\\a.exe": file_entry(10, "aa"),
               "C:\\App\\b.ini": file_entry(5, "bb"),
               "C:\\App\\c.dll": file_entry(7, "cc"),
               "C:\\App\\l": {"kind": "link", "target": "/x"}},
        registry={"HKLM\\Software\\App": {"": ("REG_SZ", "x"), "N": ("REG_DWORD", 1)},
                  "HKLM\\Software\\Old": {}})
    AFTER = record(
        files={"C:\\APP": {"kind": "dir"},
               "C:\\App\\A.EXE": file_entry(10, "aa"),
               "C:\\App\\b.ini": file_entry(6, "bb"),
               "C:\\App\\c.dll": file_entry(7, "cd"),
               "C:\\App\\new": {"kind": "dir"}},
        registry={"HKLM\\SOFTWARE\\APP": {"": ("REG_SZ", "x"), "N": ("REG_DWORD", 2),
                                           "New": ("REG_MULTI_SZ", ["p", "q"])},
                  "HKCU\\Software\\New": {}})
    DIFF = [
        "~ file C:\\App\\b.ini (size 5 -> 6)",
        "~ file C:\\App\\c.dll (hash changed)",
        "- link C:\\App\\l -> /x",
        "+ dir C:\\App\\new",
        "+ key HKCU\\Software\\New",
        "~ value HKLM\\SOFTWARE\\APP\\[N] REG_DWORD 0x00000001 (1) -> REG_DWORD 0x00000002 (2)",
        '+ value HKLM\\SOFTWARE\\APP\\[New] = REG_MULTI_SZ ["p", "q"]',
        "- key HKLM\\Software\\Old",
    ]

    def test_differences_one_per_line_names_compared_without_case(self):
        lines, same, _ = snapshot.compare(self.BEFORE, self.AFTER)
        self.assertEqual(lines, self.DIFF)
        self.assertFalse(same)
        self.assertEqual(snapshot.compare(self.AFTER, self.AFTER)[:2], ([], True))

    def test_removed_key_lists_its_values(self):
        lines, _, _ = snapshot.compare(record(registry={"HKCU\\K": {"": ("REG_SZ", "d")}}),
                                       record())
        self.assertEqual(lines, ["- key HKCU\\K", '- value HKCU\\K\\[(Default)] = REG_SZ "d"'])

    def test_allowances_cover_lines_and_unused_ones_fail(self):
        allowed = [line.upper() for line in self.DIFF]
        self.assertEqual(snapshot.compare(self.BEFORE, self.AFTER, allowed), ([], True, 8))
        lines, same, _ = snapshot.compare(self.BEFORE, self.AFTER,
                                          allowed + ["- file C:\\Gone"])
        self.assertEqual((lines, same), (["unused allowance: - file C:\\Gone"], False))

    def test_allow_file_comments(self):
        with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False) as f:
            f.write("# residues\n\n+ dir C:\\A#1   # kept: shared\n- key HKCU\\K\t# why\n")
        self.addCleanup(os.unlink, f.name)
        self.assertEqual(snapshot.read_allowances(f.name), ["+ dir C:\\A#1", "- key HKCU\\K"])

    def test_long_data_is_shortened_but_stays_distinct(self):
        one = snapshot.render_value(("REG_SZ", "x" * 100 + "1"))
        two = snapshot.render_value(("REG_SZ", "x" * 100 + "2"))
        self.assertLess(len(one), 120)
        self.assertNotEqual(one, two)
        binary = snapshot.render_value(("REG_BINARY", "ab" * 40))
        self.assertIn("40 bytes", binary)


class FileScanTest(unittest.TestCase):
    def test_links_are_not_followed_and_base_hashes_reused(self):
        with tempfile.TemporaryDirectory() as drive_c:
            os.mkdir(os.path.join(drive_c, "Dir"))
            path = os.path.join(drive_c, "Dir", "f.txt")
            with open(path, "w") as f:
                f.write("one")
            os.symlink("/", os.path.join(drive_c, "root"))
            first, hashed = snapshot.scan_files(drive_c)
            self.assertEqual(hashed, 1)
            self.assertEqual(first["C:\\root"], {"kind": "link", "target": "/"})
            self.assertEqual(first["C:\\Dir"], {"kind": "dir"})
            self.assertEqual(snapshot.scan_files(drive_c, first)[1], 0)
            # Same size and time stamp, other bytes: still hashed again.
            stamp = os.stat(path)
            time.sleep(0.05)  # past the file system's clock tick
            with open(path, "w") as f:
                f.write("two")
            os.utime(path, ns=(stamp.st_atime_ns, stamp.st_mtime_ns))
            again, hashed = snapshot.scan_files(drive_c, first)
            self.assertEqual(hashed, 1)
            self.assertNotEqual(again["C:\\Dir\\f.txt"]["sha256"],
                                first["C:\\Dir\\f.txt"]["sha256"])


if __name__ == "__main__":
    unittest.main()
