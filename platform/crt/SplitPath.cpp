#include "platform/crt/SplitPath.h"

SplitPathParts _splitpath(const std::string &path) {
    SplitPathParts parts;
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    parts.dir = path.substr(0, nameStart);
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) {
        parts.fname = path.substr(nameStart);
        return parts;
    }
    parts.fname = path.substr(nameStart, dot - nameStart);
    parts.ext = path.substr(dot);
    return parts;
}

std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot < nameStart) {
        return path.substr(nameStart);
    }
    return path.substr(nameStart, dot - nameStart);
}
