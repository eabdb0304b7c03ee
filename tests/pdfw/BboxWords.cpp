#include "tests/pdfw/BboxWords.h"

#include <cstdio>

#include "tests/pdfw/PdfwTestSupport.h"

namespace pdfw_test {

std::vector<BboxWord> bboxWords(const std::string &pdf, int page) {
    std::string pages =
        page > 0 ? "-f " + std::to_string(page) + " -l " + std::to_string(page) + " " : "";
    std::string xml = run("pdftotext -bbox-layout " + pages + "'" + pdf + "' -");
    std::vector<BboxWord> words;
    const std::string open = "<word ";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1)) {
        BboxWord word{};
        int used = 0;
        if (std::sscanf(xml.c_str() + at,
                        "<word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" "
                        "yMax=\"%lf\">%n",
                        &word.xMin, &word.yMin, &word.xMax, &word.yMax, &used) != 4 ||
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

} // namespace pdfw_test
