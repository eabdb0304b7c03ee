// The context-free entry point of the C interface: inspecting an image file.

#include "pdfw/pdfw.h"

#include <cstdio>

#include "pdfw/api/Context.h"
#include "pdfw/formats/IntakeFacts.h"

extern "C" int pdfw_inspect_image(const char *filename, int page, const char *compatibility,
                                  pdfw_image_facts *facts) {
    int pdfMinor = folvane::pdfw::pdfMinorOf(compatibility);
    if (!filename || !facts || pdfMinor < 0) {
        return -1;
    }
    try {
        folvane::pdfw::inspectImage(filename, page, pdfMinor, *facts);
    } catch (...) { // only the path's copy can throw, when memory runs out
        *facts = pdfw_image_facts{};
        facts->problem = PDFW_PROBLEM_MEMORY;
        std::snprintf(facts->reason, sizeof facts->reason, "out of memory");
    }
    return 0;
}
