// Puts prepared objects into the document: gives out their numbers, resolves their
// references and writes them in order; writes each distinct shared resource once.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "pdfw/core/PreparedImage.h"
#include "pdfw/output/ObjectWriter.h"

namespace folvane::pdfw {

class PreparedWriter {
public:
    explicit PreparedWriter(ObjectWriter &writer) : writer_(writer) {}

    // Writes the shared resources of `group` that are not in the document yet, then its
    // objects, numbered consecutively in their order. Returns their numbers.
    std::vector<int> write(const ObjectGroup &group);
    // The number of the shared resource's first object, writing it unless the document
    // already holds one with the same key.
    int shared(const SharedResource &resource);

private:
    std::vector<int> writeObjects(const std::vector<PreparedObject> &objects,
                                  const std::vector<int> &sharedNumbers);

    ObjectWriter &writer_;
    std::map<std::string, int> shared_;
};

} // namespace folvane::pdfw
