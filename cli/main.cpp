// folvane-pdf: the window's PDF generation for scripts and batches.
//
//   folvane-pdf [-c CLASS] -o OUT.pdf IMAGE...
//
// CLASS is the camera's resolution in megapixels (2, 3, 5, 8, 10 or 16; default 3). Exit 0 on
// success; 1 on failure, with one line on stderr naming the image and the reason; 2 on a usage
// error. Progress goes to stderr only when stderr is a terminal.

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "pdf/PageGeneration.h"
#include "pdf/PdfWriter.h"

namespace {

constexpr const char *kUsage = "usage: folvane-pdf [-c 2|3|5|8|10|16] -o OUT.pdf IMAGE...";

struct Options {
    int imageType = 1;
    std::string output;
    std::vector<std::string> images;
};

int UsageError(const std::string &reason) {
    std::fprintf(stderr, "folvane-pdf: %s\n%s\n", reason.c_str(), kUsage);
    return 2;
}

// Megapixels as the window's radio buttons count them, to the resolution class 0..5.
std::optional<int> ClassForMegapixels(const std::string &text) {
    static const char *const kMegapixels[] = {"2", "3", "5", "8", "10", "16"};
    for (int i = 0; i < 6; ++i) {
        if (text == kMegapixels[i]) {
            return i;
        }
    }
    return std::nullopt;
}

// Parses argv into `options`; returns an exit code when the program should stop here.
std::optional<int> ParseArguments(int argc, char **argv, Options &options) {
    bool haveOutput = false;
    bool onlyImages = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (onlyImages || arg.size() < 2 || arg[0] != '-') {
            options.images.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyImages = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            std::printf("%s\n", kUsage);
            return 0;
        }
        if (arg.compare(0, 2, "-c") != 0 && arg.compare(0, 2, "-o") != 0) {
            return UsageError("unknown option " + arg);
        }
        std::string value = arg.substr(2);
        if (value.empty()) {
            if (i + 1 >= argc) {
                return UsageError(arg + " needs a value");
            }
            value = argv[++i];
        }
        if (arg[1] == 'c') {
            std::optional<int> imageType = ClassForMegapixels(value);
            if (!imageType) {
                return UsageError("-c takes 2, 3, 5, 8, 10 or 16 (megapixels), not " + value);
            }
            options.imageType = *imageType;
            continue;
        }
        if (haveOutput) {
            return UsageError("-o given twice");
        }
        if (value.empty()) {
            return UsageError("-o needs a file name");
        }
        options.output = value;
        haveOutput = true;
    }
    if (!haveOutput) {
        return UsageError("no output file (-o OUT.pdf)");
    }
    if (options.images.empty()) {
        return UsageError("no images");
    }
    return std::nullopt;
}

// One line: the engine's texts may hold line breaks.
std::string OneLine(std::string text) {
    for (char &c : text) {
        if (c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return text;
}

// Prints the failure line. The engine's messages name the file they are about; other texts get
// the name of `subject`, the file being worked on.
// The engine reports only that the output could not be created; find out why for the message.
std::string WhyNotWritable(const std::string &output) {
    std::filesystem::path folder = std::filesystem::path(output).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    std::error_code error;
    if (std::filesystem::is_directory(output, error)) {
        return "cannot create the output file: it is a folder";
    }
    if (!std::filesystem::is_directory(folder, error)) {
        return "cannot create the output file: no folder " + folder.string();
    }
    if (access(folder.c_str(), W_OK) != 0) {
        return "cannot create the output file: " + std::string(std::strerror(errno));
    }
    return "cannot create the output file";
}

int Failure(const std::string &output, const std::string &subject, const std::string &reason) {
    std::string line = OneLine(reason);
    bool named = line.find(subject) != std::string::npos || line.find(output) != std::string::npos;
    if (!named) {
        line = subject + ": " + line;
    }
    std::fprintf(stderr, "folvane-pdf: %s\n", line.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv) {
    Options options;
    if (std::optional<int> exitCode = ParseArguments(argc, argv, options)) {
        return *exitCode;
    }

    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const std::size_t count = options.images.size();
    // The image whose page is being written; the output file before and after the pages.
    std::string subject = options.output;
    bool progressShown = false;
    auto onPage = [&](std::size_t index) {
        subject = options.images[index];
        if (showProgress) {
            std::fprintf(stderr, "\r\033[K[%zu/%zu] %s", index + 1, count, subject.c_str());
            progressShown = true;
        }
    };
    auto endProgress = [&] {
        if (progressShown) {
            std::fputs("\r\033[K", stderr);
        }
    };

    try {
        folvane::GeneratePdf(options.output, options.images, options.imageType, {}, onPage);
    } catch (const PdfWriter::Exception &e) {
        endProgress();
        return Failure(options.output, subject, e.message);
    } catch (const char *) {
        endProgress();
        return Failure(options.output, options.output, WhyNotWritable(options.output));
    } catch (const std::exception &e) {
        endProgress();
        return Failure(options.output, subject, e.what());
    } catch (...) {
        endProgress();
        return Failure(options.output, subject, "unexpected failure");
    }
    endProgress();
    return 0;
}
