#include "pdfw/core/PreparedImage.h"

namespace folvane::pdfw {

std::string ObjectText::resolve(const std::function<int(ObjectRef)> &number) const {
    std::string out;
    out.reserve(text_.size() + refs_.size() * 12);
    std::size_t from = 0;
    for (const auto &[at, ref] : refs_) {
        out.append(text_, from, at - from);
        out += std::to_string(number(ref)) + " 0 R";
        from = at;
    }
    out.append(text_, from, std::string::npos);
    return out;
}

PreparedObject streamObject(ObjectText dictionary, Buffer data) {
    PreparedObject object;
    object.dictionary = std::move(dictionary);
    object.data = std::move(data);
    return object;
}

PreparedObject streamObject(ObjectText dictionary, FileSpan file) {
    PreparedObject object;
    object.dictionary = std::move(dictionary);
    object.file.emplace(std::move(file));
    return object;
}

} // namespace folvane::pdfw
