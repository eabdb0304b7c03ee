#include "pdf/Paper.h"

#include <cctype>

namespace folvane {

namespace {

struct PaperEntry {
    Paper paper;
    const char *name;
    PaperSides sides;
};

// ISO 216 sizes rounded to whole points as PDF producers commonly write them (A4 595 x 842),
// B5 the ISO one (176 x 250 mm); Letter and Legal exact.
constexpr PaperEntry kPapers[] = {
    {Paper::A4, "a4", {595, 842}},         {Paper::A3, "a3", {842, 1191}},
    {Paper::A5, "a5", {420, 595}},         {Paper::B5, "b5", {499, 709}},
    {Paper::Letter, "letter", {612, 792}}, {Paper::Legal, "legal", {612, 1008}},
    {Paper::SameAsImage, "image", {0, 0}},
};

const PaperEntry &entryOf(Paper paper) {
    for (const PaperEntry &entry : kPapers) {
        if (entry.paper == paper) {
            return entry;
        }
    }
    return kPapers[0];
}

} // namespace

PaperSides sidesOf(Paper paper) {
    return entryOf(paper).sides;
}

const char *paperName(Paper paper) {
    return entryOf(paper).name;
}

std::optional<Paper> paperNamed(const std::string &name) {
    std::string lower;
    for (char c : name) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const PaperEntry &entry : kPapers) {
        if (lower == entry.name) {
            return entry.paper;
        }
    }
    return std::nullopt;
}

const std::vector<Paper> &allPapers() {
    static const std::vector<Paper> papers = [] {
        std::vector<Paper> all;
        for (const PaperEntry &entry : kPapers) {
            all.push_back(entry.paper);
        }
        return all;
    }();
    return papers;
}

Paper paperAt(int index) {
    const std::vector<Paper> &all = allPapers();
    return index >= 0 && index < static_cast<int>(all.size()) ? all[static_cast<std::size_t>(index)]
                                                              : Paper::A4;
}

} // namespace folvane
