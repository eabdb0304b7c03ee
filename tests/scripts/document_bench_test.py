#!/usr/bin/python3
"""The document benchmark's own parts: the classic scanner it measures against must find a
plain page and keep a photo without one whole, and the scores must count what they claim."""
import os
import subprocess
import sys
import tempfile
import unittest

import cv2
import numpy

BENCH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench")
sys.path.insert(0, BENCH)
import classic_scanner  # noqa: E402
import document_scores  # noqa: E402

PAGE = numpy.array([[700, 500], [2300, 700], [2100, 2900], [500, 2650]], float)


def desk_photo(page=True):
    """A dark desk, 2400 x 3200, with a white page (corners PAGE) carrying lines of 'text'."""
    photo = numpy.full((3200, 2400, 3), 60, numpy.uint8)
    if page:
        cv2.fillPoly(photo, [PAGE.astype(numpy.int32)], (235, 235, 235))
        for y in range(900, 2400, 120):
            cv2.line(photo, (900, y), (1800, y + 80), (30, 30, 30), 12)
    return photo


class ClassicScannerTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def test_a_plain_page_is_found_and_one_pdf_page_per_photo_is_written(self):
        with_page = os.path.join(self.dir.name, "page.jpg")
        without = os.path.join(self.dir.name, "desk.jpg")
        cv2.imwrite(with_page, desk_photo())
        cv2.imwrite(without, desk_photo(page=False))
        pdf = os.path.join(self.dir.name, "out.pdf")
        corners = os.path.join(self.dir.name, "corners.jsonl")
        subprocess.run([sys.executable, os.path.join(BENCH, "classic_scanner.py"), pdf, corners,
                        with_page, without], check=True)
        self.assertEqual(document_scores.page_count(pdf), 2)
        self.assertEqual(sorted(document_scores.image_bytes(pdf)), [1, 2])
        found = document_scores.read_lines(corners)
        self.assertEqual([entry["file"] for entry in found], ["page.jpg", "desk.jpg"])
        self.assertLess(document_scores.corner_error(found[0]["corners"], PAGE, False), 0.01)
        self.assertIsNone(found[1]["corners"])

    def test_the_page_comes_out_black_on_white(self):
        page, corners = classic_scanner.scanned(desk_photo())
        self.assertIsNotNone(corners)
        self.assertEqual(set(numpy.unique(page)), {0, 255})
        self.assertGreater(numpy.count_nonzero(page == 255), 0.8 * page.size)


class ScoresTest(unittest.TestCase):
    def test_corner_error_is_the_largest_displacement_over_the_diagonal(self):
        diagonal = numpy.mean([numpy.linalg.norm(PAGE[0] - PAGE[2]),
                               numpy.linalg.norm(PAGE[1] - PAGE[3])])
        moved = PAGE.copy()
        moved[2] += [30, 40]  # 50 pixels
        moved[0] += [3, 4]
        self.assertAlmostEqual(document_scores.corner_error(moved, PAGE, False), 50 / diagonal)
        self.assertIsNone(document_scores.corner_error(None, PAGE, False))
        # Corners starting at another corner are wrong for us (the page would be turned), but
        # only a matter of naming for the classic scanner.
        turned = numpy.roll(PAGE, 1, axis=0)
        self.assertGreater(document_scores.corner_error(turned, PAGE, False), 0.3)
        self.assertAlmostEqual(document_scores.corner_error(turned, PAGE, True), 0)

    def test_paper_floor_sees_a_shadow_on_the_paper_but_not_the_ink(self):
        page = numpy.full((1169, 827), 250, numpy.uint8)  # A4 at 100 dpi
        for y in range(60, 1150, 32):  # dense print: ink on a sixth of the page
            cv2.putText(page, "The quick brown fox jumps", (20, y), cv2.FONT_HERSHEY_SIMPLEX, 1.1,
                        0, 3)
        self.assertGreaterEqual(document_scores.paper_floor(page), 245)
        page[:, :120] = numpy.minimum(page[:, :120], 170)  # a shadow over a seventh of the page
        self.assertLessEqual(document_scores.paper_floor(page), 175)

    def test_red_pixels_count_red_ink_only(self):
        page = numpy.full((200, 200, 3), 255, numpy.uint8)
        cv2.circle(page, (100, 100), 60, (40, 40, 200), 6)  # BGR: a red ring
        cv2.line(page, (0, 10), (199, 10), (0, 0, 0), 4)
        red = document_scores.red_pixels(page)
        self.assertGreater(red, 1500)
        self.assertEqual(document_scores.red_pixels(cv2.cvtColor(
            cv2.cvtColor(page, cv2.COLOR_BGR2GRAY), cv2.COLOR_GRAY2BGR)), 0)

    def test_text_edits_count_the_drawn_lines_only(self):
        lines = ["购销合同 Sales Contract", "Payment by bank transfer."]
        read = ("Payment by bank transfer.\nDesk 1,200.00\n购销合同 Sales Contract\n"
                "签字 Signature")
        # 17 + 22 characters without blanks; the table cell and the signature cost nothing.
        self.assertEqual(document_scores.text_edits(lines, read), (0, 39))
        self.assertEqual(document_scores.text_edits(lines, read.replace("购", "贝")), (1, 39))
        # The Chinese title lost whole (4), "bank" missing from the second line (4).
        title_lost = document_scores.text_edits(["购销合同", lines[1]], "Payment by transfer.")
        self.assertEqual(title_lost, (8, 26))


if __name__ == "__main__":
    unittest.main()
