#include "tests/support/PdfMaker.h"

#include <cstdio>
#include <stdexcept>

#include <zlib.h>

#include "tests/support/Files.h"

namespace support {

namespace {

const char *const kWords[] = {"apple",  "bridge", "candle", "dragon", "engine",
                              "forest", "garden", "harbor", "island", "jungle"};

std::string numbered(int number, const std::string &body) {
    return std::to_string(number) + " 0 obj\n" + body + "\nendobj\n";
}

std::string offsetEntry(std::size_t offset) {
    char line[32];
    std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
    return line;
}

std::string deflated(const std::string &data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(data.data()), static_cast<uLong>(data.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        throw std::runtime_error("zlib compress failed");
    }
    out.resize(size);
    return out;
}

void writeText(const std::string &path, const std::string &text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}

} // namespace

void WritePdfObjects(const std::string &path, const std::vector<std::string> &objects) {
    std::string pdf = "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += numbered(static_cast<int>(i + 1), objects[i]);
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        pdf += offsetEntry(offset);
    }
    pdf += "trailer\n<</Size " + std::to_string(objects.size() + 1) + "/Root 1 0 R>>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    writeText(path, pdf);
}

std::string TextPdfLine(int page) {
    return "Page " + std::to_string(page) + " says " + kWords[(page - 1) % 10];
}

void WriteTextPdf(const std::string &path, int pages) {
    std::string kids;
    for (int page = 0; page < pages; ++page) {
        kids += std::to_string(4 + 2 * page) + " 0 R ";
    }
    std::vector<std::string> objects = {
        "<</Type/Catalog/Pages 2 0 R>>",
        "<</Type/Pages/Kids[" + kids + "]/Count " + std::to_string(pages) + ">>",
        "<</Type/Font/Subtype/Type1/BaseFont/Helvetica/Encoding/WinAnsiEncoding>>"};
    for (int page = 1; page <= pages; ++page) {
        const std::string content = "BT /F1 24 Tf 72 700 Td (" + TextPdfLine(page) + ") Tj ET";
        objects.push_back("<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Resources<</Font<</F1 "
                          "3 0 R>>>>/Contents " +
                          std::to_string(5 + 2 * (page - 1)) + " 0 R>>");
        objects.push_back("<</Length " + std::to_string(content.size()) + ">>\nstream\n" + content +
                          "\nendstream");
    }
    WritePdfObjects(path, objects);
}

void WriteObjectStreamPdf(const std::string &path, std::size_t decoded) {
    const std::string head = "5 0 ";
    std::string objects = head + "<</Font<<>>>>";
    objects.resize(decoded, ' ');
    const std::string packed = deflated(objects);
    std::string pdf = "%PDF-1.5\n%\xe2\xe3\xcf\xd3\n";
    std::vector<std::size_t> offsets;
    const std::vector<std::string> bodies = {
        "<</Type/Catalog/Pages 2 0 R>>", "<</Type/Pages/Kids[3 0 R]/Count 1>>",
        "<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Resources 5 0 R>>",
        "<</Type/ObjStm/N 1/First " + std::to_string(head.size()) + "/Filter/FlateDecode/Length " +
            std::to_string(packed.size()) + ">>\nstream\n" + packed + "\nendstream"};
    for (std::size_t i = 0; i < bodies.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += numbered(static_cast<int>(i + 1), bodies[i]);
    }
    const std::size_t xref = pdf.size();
    std::string table;
    auto entry = [&table](int type, std::size_t field, int index) {
        table += static_cast<char>(type);
        for (int shift = 24; shift >= 0; shift -= 8) {
            table += static_cast<char>((field >> shift) & 0xFF);
        }
        table += static_cast<char>((index >> 8) & 0xFF);
        table += static_cast<char>(index & 0xFF);
    };
    entry(0, 0, 0xFFFF);
    for (std::size_t offset : offsets) {
        entry(1, offset, 0);
    }
    entry(2, 4, 0);    // object 5 in object stream 4
    entry(1, xref, 0); // this cross-reference stream, object 6
    pdf += numbered(6, "<</Type/XRef/Size 7/W[1 4 2]/Root 1 0 R/Length " +
                           std::to_string(table.size()) + ">>\nstream\n" + table + "\nendstream");
    pdf += "startxref\n" + std::to_string(xref) + "\n%%EOF\n";
    writeText(path, pdf);
}

} // namespace support
