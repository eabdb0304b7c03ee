#!/usr/bin/env python3
"""scripts/check_naming.py over a small tree of its own, with the repository's .clang-tidy files:
what it must find, what it must let pass, the changed-files mode and the renaming."""
import contextlib
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

REPO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(REPO, "scripts"))
import check_naming  # noqa: E402

SOURCES = {
    "cli/Good.h": "#pragma once\nnamespace folvane::cli {\nclass Reporter {\npublic:\n"
                  "    void endProgress();\n    int shownLines = 0;\n\nprivate:\n"
                  "    bool shown_ = false;\n};\n} // namespace folvane::cli\n",
    "cli/Good.cpp": '#include "cli/Good.h"\nnamespace folvane::cli {\n'
                    "void Reporter::endProgress() { shown_ = false; }\n} // namespace folvane::cli\n",
    "scan/Bad.h": "#pragma once\nnamespace folvane::scan {\nint CountPages();\nclass Page {\n"
                  "public:\n    int Number() const { return m_number; }\n\nprivate:\n"
                  "    int m_number = 0;\n};\n} // namespace folvane::scan\n",
    "scan/Bad.cpp": '#include "scan/Bad.h"\n#include "platform/ui/ListCtrl.h"\n'
                    "namespace folvane::scan {\nint CountPages() { return Page().Number(); }\n"
                    "} // namespace folvane::scan\n",
    "pdfw/Room.cpp": "namespace pdfw {\nint pageCount() { return 1; }\n} // namespace pdfw\n",
    "platform/ui/ListCtrl.h": "#pragma once\nclass CListCtrl {\npublic:\n"
                              "    int InsertItem() { return m_nItem++; }\n    int m_nItem = 0;\n};\n",
    "app/CFolvaneDlgList.cpp": '#include "platform/ui/ListCtrl.h"\nvoid OnAddFiles(CListCtrl &list) '
                               "{ list.InsertItem(); }\n",
    "tests/scan_test.cpp": '#include "scan/Bad.h"\nint Helper_Count() { return '
                           "folvane::scan::CountPages(); }\n"
                           "namespace pdfw { int pageCount(); }\nnamespace folvane { int pdfw_count; }\n"
                           "int pages() { return pdfw::pageCount() + folvane::pdfw_count; }\n",
}


class CheckNamingTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.root = os.path.realpath(self.dir.name)
        self.build = os.path.join(self.root, "build")
        for config in (".clang-tidy", "platform/.clang-tidy", "tests/.clang-tidy"):
            os.makedirs(os.path.dirname(os.path.join(self.root, config)), exist_ok=True)
            shutil.copy(os.path.join(REPO, config), os.path.join(self.root, config))
        for path, text in SOURCES.items():
            self.write(path, text)
        os.makedirs(os.path.join(self.root, "scripts"))
        self.write_database()
        self.git("init", "-q")
        self.git("add", ".")
        self.git("-c", "user.name=t", "-c", "user.email=t@t", "commit", "-q", "-m", "tree")
        self.write("scripts/naming_baseline.txt", self.git("rev-parse", "HEAD") + "\n")
        check_naming.ROOT = self.root
        check_naming.PENDING = set()

    def tearDown(self):
        self.dir.cleanup()

    def write(self, path, text):
        full = os.path.join(self.root, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)

    def read(self, path):
        with open(os.path.join(self.root, path), encoding="utf-8") as f:
            return f.read()

    def git(self, *args):
        return subprocess.run(["git", *args], cwd=self.root, capture_output=True, text=True,
                              check=True).stdout.strip()

    def write_database(self):
        # scan/ is seen through an include view of links, as the build makes them, and its
        # command starts with the compiler launcher.
        view = os.path.join(self.build, "include", "folvane_scan", "private")
        os.makedirs(view)
        os.symlink(os.path.join(self.root, "scan"), os.path.join(view, "scan"))
        entries = []
        for path in SOURCES:
            if path.endswith(".cpp"):
                includes = f"-I{view} -I{self.root}" if path.startswith("scan/") else f"-I{self.root}"
                launcher = "ccache " if path.startswith("scan/") else ""
                entries.append({"directory": self.build, "file": os.path.join(self.root, path),
                                "command": f"{launcher}/usr/bin/c++ {includes} -std=c++20 "
                                           f"-DNAME=\\\"x\\\" -c {os.path.join(self.root, path)}"})
        with open(os.path.join(self.build, "compile_commands.json"), "w", encoding="utf-8") as f:
            json.dump(entries, f)

    def run_script(self, *args):
        out = io.StringIO()
        sys.argv = ["check_naming.py", "--build", self.build, *args]
        with contextlib.redirect_stdout(out):
            code = check_naming.main()
        return code, out.getvalue()

    def test_the_whole_tree_shows_exactly_the_names_outside_the_charter(self):
        code, out = self.run_script("--all")
        self.assertEqual(code, 1, out)
        found = sorted(line.split(":")[0] + " " + line.split("'")[1] for line in out.split("\n")
                       if "'" in line)
        self.assertEqual(found, ["pdfw/Room.cpp pdfw", "scan/Bad.h CountPages",
                                 "scan/Bad.h Number", "scan/Bad.h m_number"])

    def test_only_files_changed_since_the_recorded_sweep_are_checked(self):
        code, out = self.run_script()
        self.assertEqual(code, 0, out)
        self.write("cli/Good.h", SOURCES["cli/Good.h"].replace("void endProgress();",
                                                               "void endProgress();\n    void Warn();"))
        code, out = self.run_script()
        self.assertEqual(code, 1, out)
        self.assertIn("cli/Good.h:6:10: invalid case style for method 'Warn'", out)
        self.assertNotIn("scan/", out)

    def test_a_rename_reaches_every_use_and_leaves_a_tree_that_passes(self):
        code, out = self.run_script("--fix", "scan")
        self.assertEqual(code, 0, out)
        self.assertIn("int countPages();", self.read("scan/Bad.h"))
        self.assertIn("int number() const { return number_; }", self.read("scan/Bad.h"))
        self.assertIn("int number_ = 0;", self.read("scan/Bad.h"))
        self.assertIn("return Page().number();", self.read("scan/Bad.cpp"))
        self.assertIn("folvane::scan::countPages()", self.read("tests/scan_test.cpp"))
        self.assertIn("Helper_Count", self.read("tests/scan_test.cpp"), "test names stay")
        self.assertIn("InsertItem", self.read("platform/ui/ListCtrl.h"), "other folders stay")
        self.assertEqual(self.read("pdfw/Room.cpp"), SOURCES["pdfw/Room.cpp"])
        code, out = self.run_script("--fix", "pdfw")
        self.assertEqual(code, 0, out)
        self.assertEqual(self.read("pdfw/Room.cpp"), SOURCES["pdfw/Room.cpp"].replace("pdfw", "folvane::pdfw"))
        self.assertIn("namespace folvane::pdfw {\nint pageCount();", self.read("tests/scan_test.cpp"))
        self.assertIn("return folvane::pdfw::pageCount() + folvane::pdfw_count;",
                      self.read("tests/scan_test.cpp"))
        code, out = self.run_script("--all", "--record")
        self.assertEqual(code, 0, out)
        self.assertEqual(self.read("scripts/naming_baseline.txt").strip(), self.git("rev-parse", "HEAD"))

    def test_a_folder_waiting_for_its_rename_is_counted_not_failed(self):
        check_naming.PENDING = {"scan", "pdfw"}
        code, out = self.run_script("--all")
        self.assertEqual(code, 0, out)
        self.assertIn("scan/ has 3 names waiting for --fix scan", out)


if __name__ == "__main__":
    unittest.main()
