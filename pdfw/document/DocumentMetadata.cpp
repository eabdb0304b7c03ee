#include "pdfw/document/DocumentMetadata.h"

#include <cstdio>
#include <ctime>

namespace folvane::pdfw {

namespace {

constexpr const char *kProducer = "Folvane PDF engine";

// The PDFDocEncoding byte of `code`, or -1 when it has none. Printable ASCII and Latin-1 from
// U+00A1 on share their codes (0xAD excepted, which PDFDocEncoding leaves undefined); the few
// other characters it holds (typographic quotes, the euro sign, ...) go the UTF-16 way, which
// every reader takes too.
int pdfDocByte(char32_t code) {
    if ((code >= 0x20 && code <= 0x7E) || (code >= 0xA1 && code <= 0xFF && code != 0xAD)) {
        return static_cast<int>(code);
    }
    return -1;
}

std::string literalString(const std::u32string &codes) {
    std::string out = "(";
    for (char32_t code : codes) {
        const int byte = pdfDocByte(code);
        if (byte == '(' || byte == ')' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte > 0x7E) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned>(byte));
            out += octal;
        } else {
            out += static_cast<char>(byte);
        }
    }
    return out + ")";
}

std::string utf16String(const std::u32string &codes) {
    std::string out = "<FEFF";
    const auto unit = [&out](unsigned value) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%04X", value);
        out += hex;
    };
    for (char32_t code : codes) {
        if (code >= 0x10000) {
            const unsigned rest = static_cast<unsigned>(code - 0x10000);
            unit(0xD800 + (rest >> 10));
            unit(0xDC00 + (rest & 0x3FF));
        } else {
            unit(static_cast<unsigned>(code));
        }
    }
    return out + ">";
}

std::string xmlEscaped(const std::string &text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// `epoch` in UTC, written by `format` from the year, month, day, hour, minute and second.
std::string utcDate(std::int64_t epoch, const char *format) {
    const std::time_t seconds = static_cast<std::time_t>(epoch);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, format, utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday,
                  utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string xmpDate(std::int64_t epoch) {
    return utcDate(epoch, "%04d-%02d-%02dT%02d:%02d:%02dZ");
}

// An XMP language alternative with one default entry, as Dublin Core's title and description
// take it.
std::string alternative(const char *name, const std::string &text) {
    return std::string("   <") + name + "><rdf:Alt><rdf:li xml:lang=\"x-default\">" +
           xmlEscaped(text) + "</rdf:li></rdf:Alt></" + name + ">\n";
}

} // namespace

std::string pdfDate(std::int64_t epoch) {
    return utcDate(epoch, "D:%04d%02d%02d%02d%02d%02dZ");
}

std::string pdfTextString(const std::string &text) {
    const std::u32string codes = characters(text);
    for (char32_t code : codes) {
        if (pdfDocByte(code) < 0) {
            return utf16String(codes);
        }
    }
    return literalString(codes);
}

std::string infoDictionary(const DocumentInfo &info, const std::string &pdfDate) {
    std::string dict = std::string("<</Producer(") + kProducer + ")";
    const std::pair<const char *, const std::string *> fields[] = {{"Title", &info.title},
                                                                   {"Author", &info.author},
                                                                   {"Subject", &info.subject},
                                                                   {"Keywords", &info.keywords}};
    for (const auto &[name, value] : fields) {
        if (!value->empty()) {
            dict += std::string("/") + name + pdfTextString(*value);
        }
    }
    return dict + "/CreationDate(" + pdfDate + ")/ModDate(" + pdfDate + ")>>\n";
}

std::string xmpPacket(const DocumentInfo &info, std::int64_t epoch) {
    const std::string date = xmpDate(epoch);
    std::string packet =
        "<?xpacket begin=\"\xEF\xBB\xBF\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?>\n"
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\">\n"
        " <rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
        "  <rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\n"
        "    xmlns:pdf=\"http://ns.adobe.com/pdf/1.3/\" "
        "xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">\n"
        "   <dc:format>application/pdf</dc:format>\n";
    if (!info.title.empty()) {
        packet += alternative("dc:title", info.title);
    }
    if (!info.author.empty()) {
        packet += "   <dc:creator><rdf:Seq><rdf:li>" + xmlEscaped(info.author) +
                  "</rdf:li></rdf:Seq></dc:creator>\n";
    }
    if (!info.subject.empty()) {
        packet += alternative("dc:description", info.subject);
    }
    if (!info.keywords.empty()) {
        packet += "   <pdf:Keywords>" + xmlEscaped(info.keywords) + "</pdf:Keywords>\n";
    }
    packet += std::string("   <pdf:Producer>") + kProducer + "</pdf:Producer>\n" +
              "   <xmp:CreateDate>" + date + "</xmp:CreateDate>\n" + "   <xmp:ModifyDate>" + date +
              "</xmp:ModifyDate>\n" + "   <xmp:MetadataDate>" + date + "</xmp:MetadataDate>\n" +
              "  </rdf:Description>\n </rdf:RDF>\n</x:xmpmeta>\n<?xpacket end=\"w\"?>";
    return packet;
}

} // namespace folvane::pdfw
