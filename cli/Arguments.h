// folvane-pdf's command line: the options, what they mean, and the texts of --help and
// --version.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/PageCrops.h"
#include "cli/PageTurns.h"
#include "cli/PasswordOptions.h"
#include "cli/ScanOptions.h"
#include "cli/Shard.h"
#include "pdf/DocumentProperties.h"
#include "pdf/PageLayout.h"

namespace folvane::cli {

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
// With --skip-unreadable: the PDF was written, without the files named in warnings.
inline constexpr int kExitSomeLeftOut = 3;

struct Arguments {
    folvane::PageLayout layout = folvane::PageLayout::fitted(); // its paper: --page-size
    folvane::DocumentProperties properties; // --title, --author, --subject, --keywords
    bool firstPageOnly = false;
    bool force = false;              // replace an output file the user cannot write
    std::string ocrLanguages;        // the text layer's languages; "": no text layer
    std::string pdfVersion = "1.4";  // the PDF version written, "1.3" to "1.7"
    bool document = false;           // correct photographed and scanned pages
    bool noDewarp = false;           // --no-dewarp: corrected pages keep bent text lines
    bool spreads = false;            // --spreads: an open book's photo gives its two pages
    bool rightToLeft = false;        // --right-to-left: ... the right one first
    bool skipUnreadable = false;     // leave out the files the PDF cannot take, with a warning
    bool skipBlank = false;          // leave out pages with nothing on them, counting them
    bool interleave = false;         // fronts 1..n then backs n..1 become front 1, back 1, ...
    std::vector<TurnRule> turns;     // --rotate, in the order given
    std::vector<CropRule> crops;     // --crop, in the order given
    std::string output;              // "-": standard output
    std::vector<std::string> inputs; // images, PDFs and @LIST entries, in order
    std::string passwordFile;        // its first line opens encrypted PDF inputs
    ScanRequest scan;                // --scan, --list-devices and their settings
    std::size_t splitEvery = 0;      // --split-every: pages per document; 0: one document
    bool splitAtBlank = false;       // --split-at-blank: blank pages separate the documents
    std::string batch;               // --batch: the manifest; "": none
    std::optional<Shard> shard;      // --shard: this process's share of the manifest
    PasswordRequest passwords;       // --user-password-file and what goes with it
    // The passwords that lock the PDF, when --user-password-file was given.
    std::optional<folvane::pdfdoc::EncryptionSettings> encryption;
};

// Parses argv. Returns an exit status when the program should stop here (--help and
// --version print their text and give 0; a usage error prints its reason and a usage line and
// gives kExitUsage); nullopt when `arguments` is ready.
std::optional<int> parseArguments(int argc, char **argv, Arguments &arguments);

// Parses the options and inputs of one document of a batch manifest, `args` as its line's
// fields after the output: "" when good, else the reason. --help and --version are unknown
// there.
std::string parseDocumentArguments(const std::vector<std::string> &args, Arguments &arguments);

// The usage line, for messages that end in it.
const char *usageLine();

} // namespace folvane::cli
