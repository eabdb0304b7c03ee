// The context-free entry point of the C interface: inspecting an image file.

#include "pdfw/pdfw.h"

#include <cstdio>

#include "pdfw/formats/IntakeFacts.h"

extern "C" int pdfw_inspect_image(const char *filename, int page, pdfw_image_facts *facts) {
    if (!filename || !facts) {
        return -1;
    }
    try {
        pdfw::inspectImage(filename, page, *facts);
    } catch (...) { // only the path's copy can throw, when memory runs out
        *facts = pdfw_image_facts{};
        std::snprintf(facts->reason, sizeof facts->reason, "out of memory");
    }
    return 0;
}
