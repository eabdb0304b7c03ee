#include "pdf/PdfImport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "pdf/PdfInputs.h"

namespace folvane {

namespace {

// The engine, as a receiver of copied objects.
class EngineSink : public pdfdoc::ObjectSink {
public:
    explicit EngineSink(PdfWriter &writer) : writer_(writer) {}
    int reserveObject() override { return writer_.ReserveObject(); }
    void writeObject(int number, std::string_view body) override {
        writer_.WriteObject(number, body);
    }
    void writeStream(int number, const std::string &dictionary, std::string_view data) override {
        writer_.WriteStreamObject(number, dictionary, data);
    }

private:
    PdfWriter &writer_;
};

std::string number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out = text;
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') {
        out.pop_back();
    }
    return out == "-0" ? "0" : out;
}

std::string boxSyntax(const pdfdoc::PageBox &box) {
    return "[" + number(box.left) + " " + number(box.bottom) + " " + number(box.right) + " " +
           number(box.top) + "]";
}

// The point of the page's default space shown at (u, v) of the page turned `rotate` degrees
// clockwise, where (0, 0) is the turned page's top left and v runs down.
void unturn(const pdfdoc::PageBox &shown, int rotate, double u, double v, double &x, double &y) {
    switch (rotate) {
    case 90:
        x = shown.left + v;
        y = shown.bottom + u;
        break;
    case 180:
        x = shown.right - u;
        y = shown.bottom + v;
        break;
    case 270:
        x = shown.right - v;
        y = shown.top - u;
        break;
    default:
        x = shown.left + u;
        y = shown.top - v;
        break;
    }
}

} // namespace

Problem pdfProblem(const pdfdoc::PdfError &error, const std::string &path) {
    Problem problem;
    problem.file = path;
    problem.format = "PDF";
    problem.detail = error.detail;
    switch (error.failure) {
    case pdfdoc::PdfFailure::CannotOpen:
        problem.kind = Problem::Kind::CannotOpen;
        break;
    case pdfdoc::PdfFailure::NotAFile:
        problem.kind = Problem::Kind::NotAFile;
        break;
    case pdfdoc::PdfFailure::PasswordNeeded:
        problem.kind = Problem::Kind::PdfPasswordNeeded;
        break;
    case pdfdoc::PdfFailure::WrongPassword:
        problem.kind = Problem::Kind::PdfWrongPassword;
        break;
    case pdfdoc::PdfFailure::Damaged:
        problem.kind = Problem::Kind::PdfDamaged;
        break;
    }
    return problem;
}

std::optional<std::string> pageBoxEntries(const pdfdoc::PageFrame &frame, int quarterTurns,
                                          const std::optional<CropRect> &crop) {
    const int rotate = (frame.rotate + 90 * (((quarterTurns % 4) + 4) % 4)) % 360;
    pdfdoc::PageBox shown = frame.cropBox;
    if (crop) {
        const bool sideways = rotate == 90 || rotate == 270;
        const double width = sideways ? shown.height() : shown.width();
        const double height = sideways ? shown.width() : shown.height();
        const double left = std::clamp<double>(crop->left, 0, width);
        const double right = std::clamp<double>(crop->right, 0, width);
        const double top = std::clamp<double>(crop->top, 0, height);
        const double bottom = std::clamp<double>(crop->bottom, 0, height);
        if (right - left < 1 || bottom - top < 1) {
            return std::nullopt;
        }
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        unturn(shown, rotate, left, top, x1, y1);
        unturn(shown, rotate, right, bottom, x2, y2);
        shown =
            pdfdoc::PageBox{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    }
    std::string entries = "/MediaBox" + boxSyntax(frame.mediaBox);
    if (crop || shown.left != frame.mediaBox.left || shown.bottom != frame.mediaBox.bottom ||
        shown.right != frame.mediaBox.right || shown.top != frame.mediaBox.top) {
        entries += "/CropBox" + boxSyntax(shown);
    }
    if (rotate != 0) {
        entries += "/Rotate " + std::to_string(rotate);
    }
    return entries;
}

pdfdoc::PdfPages &PdfImport::open(const std::string &path, const GenerateOptions &options) {
    if (!pages_ || path != path_) {
        pages_.reset();
        auto password = options.pdfPasswords.find(path);
        pages_ = std::make_unique<pdfdoc::PdfPages>(
            path, password == options.pdfPasswords.end() ? "" : password->second);
        path_ = path;
    }
    return *pages_;
}

int PdfImport::pageCount(const std::string &path, const GenerateOptions &options) {
    return open(path, options).pageCount();
}

void PdfImport::writePage(const std::string &path, std::size_t row, const GenerateOptions &options,
                          int page, int quarterTurns, const std::optional<CropRect> &crop) {
    pdfdoc::PdfPages &pages = open(path, options);
    std::optional<std::string> boxes = pageBoxEntries(pages.frame(page), quarterTurns, crop);
    if (!boxes) {
        Problem problem;
        problem.kind = Problem::Kind::Call;
        problem.file = path;
        problem.page = page;
        problem.detail = "the crop leaves nothing of the page";
        throw GenerateError(problem, problem.detail, path, page, row);
    }
    EngineSink sink(writer_);
    const int pageObject = writer_.ReserveObject();
    std::string entries = *boxes + pages.copyPage(page, pageObject, sink);
    writer_.AddObjectPage(pageObject, entries);
}

bool isPdfPath(const std::string &path) {
    if (path.size() < 4) {
        return false;
    }
    std::string end = path.substr(path.size() - 4);
    std::transform(end.begin(), end.end(), end.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return end == ".pdf";
}

int pdfPageCount(const std::string &path, const std::string &password, Problem &problem) {
    try {
        return pdfdoc::PdfPages(path, password).pageCount();
    } catch (const pdfdoc::PdfError &error) {
        problem = pdfProblem(error, path);
        return 0;
    }
}

std::vector<std::pair<double, double>>
pdfShownSizes(const std::string &path, const std::string &password, Problem &problem) {
    std::vector<std::pair<double, double>> sizes;
    try {
        pdfdoc::PdfPages pages(path, password);
        for (int page = 1; page <= pages.pageCount(); ++page) {
            const pdfdoc::PageFrame frame = pages.frame(page);
            const bool sideways = frame.rotate == 90 || frame.rotate == 270;
            const double width = frame.cropBox.width();
            const double height = frame.cropBox.height();
            sizes.emplace_back(sideways ? height : width, sideways ? width : height);
        }
    } catch (const pdfdoc::PdfError &error) {
        problem = pdfProblem(error, path);
        sizes.clear();
    }
    return sizes;
}

} // namespace folvane
