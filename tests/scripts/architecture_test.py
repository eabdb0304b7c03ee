#!/usr/bin/env python3
"""The pictures of docs/ draw exactly the include edges scripts/check_source.py enforces: the
libraries in docs/architecture.dot (the engine's rooms drawn as one box) and the engine's rooms
in docs/pdfw-rooms.dot. A table and a picture that disagree tell the next engineer something
false either way."""
import os
import re
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "scripts"))
import check_source  # noqa: E402

EDGE = re.compile(r"^\s*(\w+)\s*->\s*(\w+)", re.M)


def drawn(name):
    with open(os.path.join(ROOT, "docs", name), encoding="utf-8") as f:
        text = f.read()
    # Several edges may share a line: "a -> b; a -> c;".
    edges = set()
    for statement in text.replace("\n", ";").split(";"):
        match = EDGE.match(statement)
        if match:
            edges.add(match.groups())
    return edges


def table_edges():
    return {(name, dep) for name, _, deps in check_source.LIBRARIES for dep in deps}


class ArchitecturePictures(unittest.TestCase):
    def test_the_library_picture_draws_the_table(self):
        def outer(name):
            return "pdfw" if name.startswith("pdfw.") else name
        table = {(outer(a), outer(b)) for a, b in table_edges() if outer(a) != outer(b)}
        names = {outer(name) for name, _, _ in check_source.LIBRARIES} | {"Qt"}
        picture = {(a, b) for a, b in drawn("architecture.dot") if a in names and b in names}
        self.assertEqual(sorted(picture - table), [], "drawn but not in the table")
        self.assertEqual(sorted(table - picture), [], "in the table but not drawn")

    def test_the_rooms_picture_draws_the_engines_edges(self):
        def room(name):
            return "top" if name == "pdfw" else name[len("pdfw."):]
        table = {(room(a), room(b)) for a, b in table_edges()
                 if a.startswith("pdfw") and b.startswith("pdfw")}
        picture = drawn("pdfw-rooms.dot")
        self.assertEqual(sorted(picture - table), [], "drawn but not in the table")
        self.assertEqual(sorted(table - picture), [], "in the table but not drawn")


if __name__ == "__main__":
    unittest.main()
