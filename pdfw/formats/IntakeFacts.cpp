#include "pdfw/formats/IntakeFacts.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "pdfw/core/PdfwError.h"
#include "pdfw/formats/ImageFormats.h"

namespace folvane::pdfw {

namespace {

void copyText(char *target, std::size_t size, const std::string &text) {
    std::snprintf(target, size, "%s", text.c_str());
}

void inspectKnown(const ImageFormat &format, const InputFile &file, int page, int pdfMinor,
                  pdfw_image_facts &facts) {
    facts.pages = pagesOf(format, file);
    checkPage(format, file, page);
    PageFacts known = format.inspect(file, page, pdfMinor);
    facts.width = static_cast<int>(known.width);
    facts.height = static_cast<int>(known.height);
    facts.intake = known.intake;
    if (known.intake == PDFW_INTAKE_REPAIRED) {
        copyText(facts.detail, sizeof facts.detail, known.repair);
        copyText(facts.reason, sizeof facts.reason,
                 known.repair.empty() ? "its markers are damaged" : known.repair);
    }
}

void setProblem(pdfw_image_facts &facts, const Problem &problem) {
    facts.ok = 0;
    facts.intake = PDFW_INTAKE_UNUSABLE;
    facts.problem = problem.kind;
    facts.numbers[0] = problem.numbers[0];
    facts.numbers[1] = problem.numbers[1];
    copyText(facts.item, sizeof facts.item, problem.item);
    copyText(facts.detail, sizeof facts.detail, problem.detail);
    copyText(facts.reason, sizeof facts.reason, describe(problem));
}

} // namespace

void inspectImage(const std::string &path, int page, int pdfMinor, pdfw_image_facts &facts) {
    std::memset(&facts, 0, sizeof facts);
    try {
        InputFile file(path);
        const ImageFormat *format = formatOf(file);
        copyText(facts.kind, sizeof facts.kind, format ? format->name : "");
        if (page < 1) {
            failCall(PDFW_VALUE_ERROR, "page " + std::to_string(page) + " (pages count from 1)");
        }
        inspectKnown(requireFormat(file), file, page, pdfMinor, facts);
        facts.ok = 1;
    } catch (const PdfwError &error) {
        setProblem(facts, error.problem());
    } catch (const std::bad_alloc &) {
        setProblem(facts, problemWith(PDFW_PROBLEM_MEMORY, path));
    } catch (const std::exception &error) {
        setProblem(facts, problemWith(PDFW_PROBLEM_INTERNAL, path, error.what()));
    }
}

} // namespace folvane::pdfw
