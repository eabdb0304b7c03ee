#include "tests/support/TextPdf.h"

#include <algorithm>

#include "tests/support/Process.h"

namespace support {

namespace {

std::string number(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

std::string contentOf(const TextPdfPage &page) {
    std::string content;
    if (page.blackBox) {
        const double side = std::min(page.width, page.height) / 4;
        content += "0 g " + number(side / 4) + " " + number(page.height - side * 1.25) + " " +
                   number(side) + " " + number(side) + " re f\n";
    }
    if (!page.text.empty()) {
        content +=
            "BT /F1 24 Tf 36 " + number(page.height - 60) + " Td (" + page.text + ") Tj ET\n";
    }
    return content;
}

} // namespace

std::string TextPdf(const std::vector<TextPdfPage> &pages) {
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content for each page.
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        kids += std::to_string(4 + 2 * i) + " 0 R ";
    }
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " +
                      std::to_string(pages.size()) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const TextPdfPage &page = pages[i];
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + number(page.width) +
                          " " + number(page.height) + "] /Rotate " + std::to_string(page.rotate) +
                          " /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        const std::string content = contentOf(page);
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" +
                          content + "endstream");
    }
    std::string file = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(file.size());
        file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const std::size_t xref = file.size();
    file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        std::string digits = std::to_string(offset);
        file += std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
    }
    file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
            " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return file;
}

std::string NumberedPdf(int count) {
    std::vector<TextPdfPage> pages(count);
    for (int i = 0; i < count; ++i) {
        pages[i].text = "Page " + std::to_string(i + 1);
    }
    return TextPdf(pages);
}

bool EncryptPdf(const std::string &in, const std::string &out, const std::string &userPassword,
                const std::string &ownerPassword) {
    return RunProgram({"qpdf", "--encrypt", userPassword, ownerPassword, "256", "--", in, out})
               .exitCode == 0;
}

} // namespace support
