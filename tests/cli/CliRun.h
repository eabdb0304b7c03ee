// Running folvane-pdf from the tests: a scratch folder, the program's exit status and its two
// streams, and the pictures and PDF facts the tests check.
#pragma once

#include <string>
#include <vector>

namespace cli_test {

#ifdef FOLVANE_BIN_DIR
// Defined for the test programs (not for this folder's helper library).
inline const std::string kProgram = std::string(FOLVANE_BIN_DIR) + "/folvane-pdf";
inline const std::string kSamples = std::string(FOLVANE_SOURCE_DIR) + "/res/samples";
#endif

std::string Quote(const std::string &text);
std::string Read(const std::string &path);
void Write(const std::string &path, const std::string &bytes);

struct Result {
    int exitCode; // -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// A fresh folder, removed with all it holds.
class Scratch {
public:
    Scratch();
    ~Scratch();
    Scratch(const Scratch &) = delete;
    Scratch &operator=(const Scratch &) = delete;
    std::string At(const std::string &name) const { return dir_ + "/" + name; }
    const std::string &Dir() const { return dir_; }
    // Names in the folder, sorted.
    std::vector<std::string> Names() const;

    // Runs a shell command line with `input` on its standard input (a file path, default
    // /dev/null) and both outputs captured.
    Result RunCommand(const std::string &command, const std::string &input = "/dev/null") const;

private:
    std::string dir_;
};

#ifdef FOLVANE_BIN_DIR
// Runs folvane-pdf with `args` (already quoted) in `dir`'s way.
inline Result RunProgram(const Scratch &dir, const std::string &args,
                         const std::string &input = "/dev/null") {
    return dir.RunCommand(Quote(kProgram) + " " + args, input);
}
#endif

// A grey JPEG of that size, written with libjpeg.
void WriteJpeg(const std::string &path, int width, int height);
// A TIFF of one RGB page per entry: {width, height}.
void WriteTiff(const std::string &path, const std::vector<std::pair<int, int>> &pages);

// Overwrites the start of the compressed data of page `page` (0-based) with bytes no decoder
// accepts, so that only that page fails.
void CorruptFirstStrip(const std::string &path, int page);

// Page sizes in points (pdfinfo), in page order.
std::vector<std::pair<double, double>> PageSizes(const std::string &pdf);
bool QpdfCheck(const std::string &pdf);

} // namespace cli_test
