#pragma once

#include <string_view>

// How the desktop orders file names for the user: the order of its file manager. Names are the
// file system's bytes (UTF-8 on a usual desktop, any bytes possible). Compare is negative, zero or
// positive like strcmp; names the order holds equal (a.jpg and A.jpg) compare 0, so a caller that
// needs one fixed order decides those ties itself. Safe to call from the user-interface thread
// only.
class FileNameCollation {
public:
    virtual ~FileNameCollation() = default;
    virtual int Compare(std::string_view a, std::string_view b) const = 0;
};

// The collation's order, with names it holds equal put in the order of their bytes: one fixed
// order for any two different names.
inline int CompareStrictly(const FileNameCollation &collation, std::string_view a,
                           std::string_view b) {
    if (const int order = collation.Compare(a, b); order != 0) {
        return order;
    }
    const int bytes = a.compare(b);
    return (bytes > 0) - (bytes < 0);
}
