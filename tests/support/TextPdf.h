// Small PDFs of text, made for tests from nothing: each page a size, an own rotation and a line
// of text in a standard font, so that readers find its page count, sizes and text.
#pragma once

#include <string>
#include <vector>

namespace support {

struct TextPdfPage {
    double width = 595; // points
    double height = 842;
    int rotate = 0;        // the page's /Rotate: 0, 90, 180 or 270
    std::string text = ""; // one line near the top left; empty: a page with no text
    bool blackBox = false; // a filled black square in the page's top left quarter
};

// A whole PDF file of those pages.
std::string TextPdf(const std::vector<TextPdfPage> &pages);

// `count` A4 pages reading "Page 1", "Page 2", ...
std::string NumberedPdf(int count);

// The PDF at `in` encrypted by qpdf's command line into `out` (AES-256), with an open password
// (empty: none, only the owner's) and an owner password. False when qpdf fails.
bool EncryptPdf(const std::string &in, const std::string &out, const std::string &userPassword,
                const std::string &ownerPassword);

} // namespace support
