#include "tests/support/Files.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace support {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string pattern = (fs::temp_directory_path() / "folvane-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder from " + pattern);
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    // A test may have left a folder read-only; give the owner access back first.
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        if (it->is_directory(ignored) && !it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

TempFile::TempFile(const Bytes &bytes, const std::string &name) : path_(dir_ / name) {
    WriteFile(path_, bytes);
}

Bytes ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string &path) {
    return Text(ReadFile(path));
}

void WriteFile(const std::string &path, const Bytes &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

void WriteText(const std::string &path, const std::string &text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}

std::set<std::string> Listing(const std::string &folder) {
    std::set<std::string> names;
    std::error_code error;
    for (const auto &entry : fs::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

FILE *OpenBytes(const Bytes &bytes) {
    FILE *file = std::tmpfile();
    if (file == nullptr) {
        throw std::runtime_error("no temporary file");
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::fclose(file);
        throw std::runtime_error("cannot fill a temporary file");
    }
    std::rewind(file);
    return file;
}

} // namespace support
