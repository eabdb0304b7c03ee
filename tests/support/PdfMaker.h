// Small PDF documents written byte by byte for tests of reading existing PDFs: pages of text,
// and the damaged and hostile files a reader must survive.
#pragma once

#include <string>
#include <vector>

namespace support {

// A PDF whose objects 1..n are `objects` (each object's body, a stream with its "stream"
// keyword and data included), with a correct cross-reference table and object 1 as the
// catalogue.
void WritePdfObjects(const std::string &path, const std::vector<std::string> &objects);

// `pages` pages of US Letter, page k holding one line of text, "Page k says <word k>", all
// in one shared Helvetica font object.
void WriteTextPdf(const std::string &path, int pages);
// The words page `page` of a WriteTextPdf document says.
std::string TextPdfLine(int page);

// A PDF 1.5 whose only page's resources lie in an object stream that decodes to `decoded`
// bytes (nearly all of them blank), stored compressed.
void WriteObjectStreamPdf(const std::string &path, std::size_t decoded);

} // namespace support
