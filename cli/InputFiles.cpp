#include "cli/InputFiles.h"

#include <filesystem>
#include <system_error>

#include "cli/Texts.h"
#include "pdf/ImageFacts.h"
#include "pdf/ImageFileRules.h"
#include "pdf/PdfInputs.h"
#include "pdf/QuotedName.h"
#include "platform/ui/NaturalCollation.h"

namespace folvane::cli {

namespace {

bool isFolder(const std::string &path) {
    std::error_code error;
    return std::filesystem::is_directory(path, error);
}

// The first page that cannot go into the PDF (0: none), with its problem.
int firstUnusablePage(const std::string &path, bool firstPageOnly, folvane::Problem &problem) {
    if (folvane::isPdfPath(path)) {
        return 0; // the page loop reads it, with its password, and says why when it cannot
    }
    const folvane::ImageFacts first = folvane::inspectImage(path, 1);
    if (!first.ok) {
        problem = first.problem;
        return 1;
    }
    const int pages = firstPageOnly ? 1 : first.pages;
    for (int page = 2; page <= pages; ++page) {
        const folvane::ImageFacts facts = folvane::inspectImage(path, page);
        if (!facts.ok) {
            problem = facts.problem;
            return page;
        }
    }
    return 0;
}

} // namespace

bool expandFolders(std::vector<std::string> &inputs, std::string &error) {
    const NaturalCollation collation;
    const auto compareNames = [&collation](std::string_view a, std::string_view b) {
        return collation.Compare(a, b);
    };
    std::vector<std::string> expanded;
    for (const std::string &input : inputs) {
        if (!isFolder(input)) {
            expanded.push_back(input);
            continue;
        }
        std::string reason;
        const auto images = folvane::pageImagesInFolder(input, compareNames, reason);
        if (!images) {
            error = fill(_("cannot read the folder %1: %2"), {folvane::quotedName(input), reason});
            return false;
        }
        if (images->empty()) {
            error = fill(_("the folder %1 holds no JPEG, TIFF or PNG image"),
                         {folvane::quotedName(input)});
            return false;
        }
        expanded.insert(expanded.end(), images->begin(), images->end());
    }
    inputs = std::move(expanded);
    return true;
}

std::vector<std::string> readableInputs(const std::vector<std::string> &inputs, bool firstPageOnly,
                                        std::vector<LeftOutFile> &leftOut) {
    std::vector<std::string> readable;
    for (const std::string &input : inputs) {
        LeftOutFile file{input, 1, {}};
        file.page = firstUnusablePage(input, firstPageOnly, file.problem);
        if (file.page == 0) {
            readable.push_back(input);
        } else {
            leftOut.push_back(std::move(file));
        }
    }
    return readable;
}

bool isUnreadableInput(const folvane::Problem &problem) {
    using Kind = folvane::Problem::Kind;
    switch (problem.kind) {
    case Kind::CannotOpen:
    case Kind::CannotRead:
    case Kind::NotAnImage:
    case Kind::Damaged:
    case Kind::Truncated:
    case Kind::Unsupported:
    case Kind::NoSuchPage:
    case Kind::TooLarge:
    case Kind::TooManyPixels:
    case Kind::DataTooShort:
    case Kind::NotAFile:
    case Kind::JpegTooLarge:
    case Kind::PdfPasswordNeeded:
    case Kind::PdfWrongPassword:
    case Kind::PdfDamaged:
        return true;
    default:
        return false;
    }
}

} // namespace folvane::cli
