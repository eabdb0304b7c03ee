// The document's properties as PDF writes them twice: in the Info dictionary and in an XMP
// metadata stream the catalog names, with the same values and dates.
#pragma once

#include <cstdint>
#include <string>

#include "pdfw/core/DocumentInfo.h"

namespace folvane::pdfw {

// `epoch` (seconds since 1970) as a PDF date in UTC, "D:YYYYMMDDHHmmSSZ".
std::string pdfDate(std::int64_t epoch);

// `text` as a PDF text string: a literal string in PDFDocEncoding when every character has a
// code there, else a hexadecimal string of UTF-16BE after its byte order mark.
std::string pdfTextString(const std::string &text);

// The Info dictionary, "<<...>>\n": the producer, the properties that are set and both dates
// (`pdfDate`, "D:YYYYMMDDHHmmSSZ").
std::string infoDictionary(const DocumentInfo &info, const std::string &pdfDate);

// The XMP packet (UTF-8) with the same properties, the producer and `epoch` (seconds since
// 1970, UTC) as the creation, modification and metadata date.
std::string xmpPacket(const DocumentInfo &info, std::int64_t epoch);

} // namespace folvane::pdfw
