#include "pdfw/output/PreparedWriter.h"

#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

std::vector<int> PreparedWriter::write(const ObjectGroup &group) {
    std::vector<int> sharedNumbers;
    sharedNumbers.reserve(group.shared.size());
    for (const auto &resource : group.shared) {
        if (!resource) {
            failInternal(PDFW_RUNTIME_ERROR,
                         "a prepared image refers to a missing shared resource");
        }
        sharedNumbers.push_back(shared(*resource));
    }
    return writeObjects(group.objects, sharedNumbers);
}

int PreparedWriter::shared(const SharedResource &resource) {
    auto found = shared_.find(resource.key);
    if (found != shared_.end()) {
        return found->second;
    }
    if (resource.objects.empty()) {
        failInternal(PDFW_RUNTIME_ERROR, "shared resource \"" + resource.key + "\" has no objects");
    }
    int first = writeObjects(resource.objects, {}).front();
    shared_.emplace(resource.key, first);
    return first;
}

std::vector<int> PreparedWriter::writeObjects(const std::vector<PreparedObject> &objects,
                                              const std::vector<int> &sharedNumbers) {
    // Numbers and texts first, so that a bad reference fails before anything is written.
    std::vector<int> numbers;
    int next = writer_.nextNumber();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        numbers.push_back(next + static_cast<int>(i));
    }
    auto number = [&](ObjectRef ref) {
        const std::vector<int> &from = ref.to == ObjectRef::To::Own ? numbers : sharedNumbers;
        if (ref.index >= from.size()) {
            failInternal(PDFW_RUNTIME_ERROR, "a prepared object refers to object " +
                                                 std::to_string(ref.index) +
                                                 ", which it does not have");
        }
        return from[ref.index];
    };
    std::vector<std::string> texts;
    texts.reserve(objects.size());
    for (const PreparedObject &object : objects) {
        texts.push_back(object.dictionary.resolve(number));
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        writer_.reserve();
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const PreparedObject &object = objects[i];
        if (object.stream && object.file) {
            writer_.beginStream(numbers[i], texts[i], object.file->length());
            writer_.out().copy(*object.file);
            writer_.endStream();
        } else if (object.stream) {
            writer_.writeStream(numbers[i], texts[i], object.data.data(), object.data.size());
        } else {
            writer_.beginObject(numbers[i]);
            writer_.out().write(texts[i]);
            writer_.out().write("\n");
            writer_.endObject();
        }
    }
    return numbers;
}

} // namespace folvane::pdfw
