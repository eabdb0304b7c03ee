#include "tests/support/Pdf.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tests/support/Process.h"

namespace support {

namespace {

bool ParseNumber(const std::string &token, double &value) {
    if (token.empty()) {
        return false;
    }
    char *end = nullptr;
    value = std::strtod(token.c_str(), &end);
    return end == token.c_str() + token.size();
}

// The names after /Filter in a dictionary ("/A" or "[ /A /B ]") as "A" or "A B".
std::string Filters(const std::string &dictionary) {
    std::size_t at = dictionary.find("/Filter");
    at = at == std::string::npos ? at : dictionary.find_first_not_of(' ', at + 7);
    if (at == std::string::npos) {
        return "";
    }
    const std::size_t end =
        dictionary[at] == '[' ? dictionary.find(']', at) : dictionary.find_first_of(" />[", at + 1);
    std::string value = dictionary.substr(at, end == std::string::npos ? end : end - at);
    for (char &c : value) {
        c = c == '/' || c == '[' ? ' ' : c;
    }
    std::istringstream names(value);
    std::string name;
    std::string filters;
    while (names >> name) {
        filters += (filters.empty() ? "" : " ") + name;
    }
    return filters;
}

} // namespace

bool QpdfCheck(const std::string &pdf) {
    return RunProgram({"qpdf", "--check", pdf}).exitCode == 0;
}

int PageCount(const std::string &pdf) {
    const RunResult run = RunProgram({"qpdf", "--show-npages", pdf});
    return run.exitCode == 0 ? std::atoi(run.out.c_str()) : -1;
}

std::vector<PageSize> PageSizes(const std::string &pdf) {
    std::istringstream lines(RunProgram({"pdfinfo", "-f", "1", "-l", "1000000", pdf}).out);
    std::vector<PageSize> sizes;
    std::string line;
    while (std::getline(lines, line)) {
        int page = 0;
        PageSize size{};
        if (std::sscanf(line.c_str(), "Page %d size: %lf x %lf", &page, &size.width,
                        &size.height) == 3) {
            sizes.push_back(size);
        }
    }
    return sizes;
}

std::vector<PdfImage> ListImages(const std::string &pdf) {
    std::istringstream lines(RunProgram({"pdfimages", "-list", pdf}).out);
    std::vector<PdfImage> images;
    std::string line;
    while (std::getline(lines, line)) {
        PdfImage image;
        int number = 0, object = 0, generation = 0;
        char type[32], colour[32], encoding[32], interpolate[32];
        if (std::sscanf(line.c_str(), "%d %d %31s %d %d %31s %d %d %31s %31s %d %d %d", &image.page,
                        &number, type, &image.width, &image.height, colour, &image.components,
                        &image.bits, encoding, interpolate, &object, &generation,
                        &image.xppi) != 13) {
            continue;
        }
        image.type = type;
        image.colour = colour;
        image.dictionary = RunProgram({"qpdf", "--show-object=" + std::to_string(object), pdf}).out;
        image.filter = Filters(image.dictionary);
        images.push_back(image);
    }
    return images;
}

std::string Qdf(const std::string &pdf) {
    return RunProgram(
               {"qpdf", "--qdf", "--stream-data=uncompress", "--object-streams=disable", pdf, "-"})
        .out;
}

std::vector<std::array<double, 6>> PlacementMatrices(const std::string &pdf) {
    std::istringstream tokens(Qdf(pdf));
    std::vector<std::array<double, 6>> matrices;
    std::vector<std::string> last;
    std::string token;
    while (tokens >> token) {
        if (token == "cm" && last.size() == 6) {
            std::array<double, 6> m{};
            bool numbers = true;
            for (int i = 0; i < 6; ++i) {
                numbers = numbers && ParseNumber(last[i], m[i]);
            }
            if (numbers) {
                matrices.push_back(m);
            }
        }
        last.push_back(token);
        if (last.size() > 6) {
            last.erase(last.begin());
        }
    }
    return matrices;
}

std::vector<std::string> DrawingLines(const std::string &pdf) {
    std::istringstream text(Qdf(pdf));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line)) {
        if (line.rfind("q ", 0) == 0 && line.find(" Do Q") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

Picture RenderPage(const std::string &pdf, int page) {
    constexpr int kZoom = 4;
    const std::string number = std::to_string(page);
    const std::string ppm = RunProgram({"pdftoppm", "-r", std::to_string(72 * kZoom), "-aa", "no",
                                        "-aaVector", "no", "-f", number, "-l", number, pdf})
                                .out;
    int width = 0, height = 0, maxValue = 0, consumed = 0;
    if (std::sscanf(ppm.c_str(), "P6 %d %d %d%n", &width, &height, &maxValue, &consumed) != 3 ||
        maxValue != 255 || width <= 0 || height <= 0) {
        return {};
    }
    const std::size_t start = static_cast<std::size_t>(consumed) + 1;
    if (ppm.size() < start + static_cast<std::size_t>(width) * height * 3) {
        return {};
    }
    Picture picture = Blank(width / kZoom, height / kZoom, 3);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::size_t at =
                start +
                (static_cast<std::size_t>(y * kZoom + kZoom / 2) * width + x * kZoom + kZoom / 2) *
                    3;
            for (int c = 0; c < 3; ++c) {
                picture.At(x, y, c) = static_cast<uint8_t>(ppm[at + c]);
            }
        }
    }
    return picture;
}

std::string PdfText(const std::string &pdf, int page) {
    std::vector<std::string> argv = {"pdftotext", "-enc", "UTF-8"};
    if (page > 0) {
        argv.insert(argv.end(), {"-f", std::to_string(page), "-l", std::to_string(page)});
    }
    argv.insert(argv.end(), {pdf, "-"});
    return RunProgram(argv).out;
}

} // namespace support
