#!/usr/bin/env python3
"""scripts/check_source.py over a small tree of its own: what it must find and what it must not."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import check_source  # noqa: E402


def long_body(lines):
    return "".join(f"    int v{i} = {i};\n" for i in range(lines))


class CheckSourceTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        check_source.ROOT = self.dir.name

    def tearDown(self):
        self.dir.cleanup()

    def write(self, path, text):
        full = os.path.join(self.dir.name, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def test_forbidden_edges_are_found_and_allowed_ones_pass(self):
        image = self.write("image/A.cpp", '#include "image/B.h"\n#include "platform/gdi/Gdi.h"\n'
                           '#include "pdfw/pdfw.h"\n#include <QWidget>\n#include <vector>\n')
        pdfw = self.write("pdfw/core/A.cpp", '#include "ocr/PageText.h"\n#include "image/CfImage.h"\n'
                          '#include "tests/support/Bytes.h"\n')
        reader = self.write("pdfw/jpeg/A.cpp", '#include "pdfw/raster/FlateEncoder.h"\n'
                            '#include "pdfw/document/Document.h"\n#include "pdfw/pdfw.h"\n')
        ui = self.write("platform/ui/A.h", '#include "app/Resource.h"\n')
        qt = self.write("app/qt/A.cpp", '#include <QWidget>\n#include "app/CFolvaneApp.h"\n')
        findings = check_source.include_findings([image, pdfw, reader, ui, qt])
        self.assertEqual(findings, [
            "image/A.cpp: image may not include pdfw/pdfw.h (pdfw)",
            "image/A.cpp: image may not include QWidget (Qt)",
            "pdfw/core/A.cpp: pdfw.core may not include image/CfImage.h (image)",
            "pdfw/core/A.cpp: pdfw.core may not include tests/support/Bytes.h (tests)",
            "pdfw/jpeg/A.cpp: pdfw.jpeg may not include pdfw/document/Document.h (pdfw.document)",
            "pdfw/jpeg/A.cpp: pdfw.jpeg may not include pdfw/pdfw.h (pdfw)",
            "platform/ui/A.h: ui may not include app/Resource.h (app)",
        ])

    def test_function_length_counts_whole_bodies_in_namespaces_and_classes(self):
        path = self.write("pdfw/Long.cpp", (
            "namespace pdfw {\nnamespace {\n"
            "struct Table { int a[2] = {1, 2}; };\n"
            "bool Table::operator==(const Table &) const {\n" + long_body(85) + "    return true;\n}\n"
            "}  // namespace\n"
            "int joined(int x) {\n"
            "    auto f = [](int y) {\n" + long_body(90) + "        return y;\n    };\n"
            "    if (x) {\n        // a } in a comment and \"}\" in a string\n    }\n"
            "    return f(x);\n}\n"
            "int shortOne() { return 1; }\n"
            "}  // namespace pdfw\n"))
        found = {name: lines for name, _, lines in check_source.functions(path)}
        self.assertEqual(set(found), {"Table::operator==", "joined", "shortOne"})
        self.assertEqual(found["Table::operator=="], 88)
        self.assertGreater(found["joined"], 90)  # the lambda belongs to it
        self.assertEqual(found["shortOne"], 1)

        self.write("scripts/long_functions.txt", "# waiting\npdfw/Long.cpp joined\n")
        self.assertEqual([f.split(": ")[1] for f in check_source.length_findings([path])],
                         ["Table::operator== is 88 lines (at most 80)"])


if __name__ == "__main__":
    unittest.main()
