#pragma once

#include <string>
#include <string_view>

// The C runtime's path splitting, POSIX flavoured: '/' separates folders and there is no drive.
// The file name is the part after the last '/' and before the last '.', the extension the rest
// from that dot on (with the dot). A dot that starts the last component (".profile") begins the
// extension, as on the platform this program comes from.
struct SplitPathParts {
    std::string drive; // always empty on POSIX systems
    std::string dir;   // everything up to and including the last '/'
    std::string fname;
    std::string ext;
};

SplitPathParts _splitpath(const std::string &path);

// The file-name part of _splitpath without copying: a view into path.
std::string_view FileNamePart(std::string_view path);
