// The papers a document's pages can be: the ISO and North American sizes offices use, or each
// page the size of its own image.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace folvane {

// In the order the window lists them; A4 first, the default.
enum class Paper { A4, A3, A5, B5, Letter, Legal, SameAsImage };

// A paper's sides in points, portrait (0 x 0 for SameAsImage, whose pages have no one size).
struct PaperSides {
    float shortSide;
    float longSide;
};

PaperSides sidesOf(Paper paper);

// The name folvane-pdf takes for a paper: "a4", "a3", "a5", "b5", "letter", "legal", "image".
const char *paperName(Paper paper);

// The paper of a name paperName gives (any case); none for another name.
std::optional<Paper> paperNamed(const std::string &name);

// Every paper, in the enumeration's order.
const std::vector<Paper> &allPapers();

// The window's choice at `index` (AllPapers' order); A4 for an index out of range.
Paper paperAt(int index);

} // namespace folvane
