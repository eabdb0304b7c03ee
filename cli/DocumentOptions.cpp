#include "cli/DocumentOptions.h"

#include <optional>

#include "cli/Texts.h"

namespace folvane::cli {

namespace {

using folvane::scan::PageSize;

std::string setPaper(folvane::Paper &paper, ScanRequest &scan, const std::string &value) {
    if (value == "max") {
        scan.settings.pageSize = PageSize::Maximum;
        scan.given.push_back("--page-size max");
        return "";
    }
    std::optional<folvane::Paper> named = folvane::paperNamed(value);
    if (!named) {
        return fill(_("--page-size takes a4, a3, a5, b5, letter, legal or image (each page the "
                      "size of its image), and with --scan max, not \"%1\""),
                    {value});
    }
    paper = *named;
    if (paper == folvane::Paper::A4) {
        scan.settings.pageSize = PageSize::A4;
    } else if (paper == folvane::Paper::Letter) {
        scan.settings.pageSize = PageSize::Letter;
    }
    return "";
}

std::string setProperty(std::string &field, const std::string &option, const std::string &value) {
    switch (folvane::documentTextFaultOf(value)) {
    case folvane::DocumentTextFault::InvalidUtf8:
        return fill(_("%1 is not valid UTF-8 text"), {option});
    case folvane::DocumentTextFault::ControlCharacter:
        return fill(_("%1 holds a control character (a line break, a tab, ...)"), {option});
    case folvane::DocumentTextFault::TooLong:
        return fill(_("%1 is longer than %2 characters"),
                    {option, std::to_string(folvane::kMaxDocumentTextCharacters)});
    case folvane::DocumentTextFault::None:
        break;
    }
    field = value;
    return "";
}

} // namespace

const std::vector<DocumentOptionName> &documentOptionNames() {
    static const std::vector<DocumentOptionName> names = {
        {"page-size"}, {"title"}, {"author"}, {"subject"}, {"keywords"}};
    return names;
}

std::string setDocumentOption(folvane::Paper &paper, folvane::DocumentProperties &properties,
                              ScanRequest &scan, const std::string &name,
                              const std::string &value) {
    if (name == "page-size") {
        return setPaper(paper, scan, value);
    }
    std::string *field = name == "title"     ? &properties.title
                         : name == "author"  ? &properties.author
                         : name == "subject" ? &properties.subject
                                             : &properties.keywords;
    return setProperty(*field, "--" + name, value);
}

} // namespace folvane::cli
