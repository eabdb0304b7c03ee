#include "cli/PdfPasswords.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cli/Texts.h"
#include "pdf/PdfInputs.h"

namespace folvane::cli {

namespace {

// No password is longer; a file beyond it is not one.
constexpr std::size_t kMaxPasswordBytes = 4096;

} // namespace

bool setPdfPasswords(const std::string &path, const std::vector<std::string> &inputs,
                     folvane::GenerateOptions &options, std::string &error) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = fill(_("cannot read the password file \"%1\": %2"), {path, std::strerror(errno)});
        return false;
    }
    std::string password;
    int c = 0;
    while ((c = std::fgetc(file)) != EOF && c != '\n' && password.size() <= kMaxPasswordBytes) {
        password += static_cast<char>(c);
    }
    std::fclose(file);
    if (password.size() > kMaxPasswordBytes) {
        error = fill(_("the password file \"%1\" holds no password (its first line is longer "
                       "than %2 bytes)"),
                     {path, std::to_string(kMaxPasswordBytes)});
        return false;
    }
    if (!password.empty() && password.back() == '\r') {
        password.pop_back();
    }
    for (const std::string &input : inputs) {
        if (folvane::isPdfPath(input)) {
            options.pdfPasswords[input] = password;
        }
    }
    return true;
}

} // namespace folvane::cli
