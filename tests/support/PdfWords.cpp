#include "tests/support/PdfWords.h"

#include <cstdio>

#include "tests/support/Process.h"

namespace support {

std::vector<PdfWord> PdfWords(const std::string &pdf, int page) {
    std::vector<std::string> argv = {"pdftotext", "-bbox-layout"};
    if (page > 0) {
        argv.insert(argv.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    }
    argv.insert(argv.end(), {pdf, "-"});
    std::string xml = RunProgram(argv).out;
    std::vector<PdfWord> words;
    const std::string open = "<word ";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        PdfWord word{};
        int used = 0;
        if (std::sscanf(xml.c_str() + at,
                        "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\">%n", &word.xMin,
                        &word.yMin, &word.xMax, &word.yMax, &used) != 4 ||
            used == 0) {
            continue;
        }
        std::size_t start = at + used;
        std::size_t end = xml.find("</word>", start);
        word.text = xml.substr(start, end - start);
        words.push_back(word);
    }
    return words;
}

} // namespace support
