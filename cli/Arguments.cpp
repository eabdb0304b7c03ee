#include "cli/Arguments.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

#include "cli/DocumentOptions.h"
#include "cli/Texts.h"

namespace folvane::cli {

namespace {

constexpr const char *kUsage = N_(
    "usage: folvane-pdf [-c 2|3|5|8|10|16|fit] [--first-page-only] [--document [--no-dewarp] "
    "[--spreads [--right-to-left]]] "
    "[--ocr [--ocr-lang LANGS]] [--rotate=[+|-]ANGLE[:PAGES]]... "
    "[--crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]]... [--pdf-version 1.3-1.7] "
    "[--page-size PAPER] [--title TEXT] [--author TEXT] [--subject TEXT] [--keywords TEXT] "
    "[--interleave] [--force] [--skip-unreadable] [--skip-blank] [--password-file FILE] -o OUT.pdf "
    "IMAGE|PDF|FOLDER|@LIST...\n"
    "       folvane-pdf --scan [--device NAME] [--source flatbed|adf|duplex] "
    "[--mode color|gray|lineart] [--resolution DPI] [--page-size a4|letter|max] "
    "[--keep-pages DIR] [-c CLASS] [--document] [--ocr] -o OUT.pdf\n"
    "       folvane-pdf --list-devices");

constexpr const char *kHelp =
    N_(R"(Turns page images (JPEG, TIFF, PNG) into one PDF, one page per image in the
order given, and every page of a multi-page TIFF. Nothing is recompressed: JPEG
data goes in unchanged, other pictures losslessly, except that samples of more
than 8 bits (16-bit TIFF and PNG files) are rounded to 8 bits in PDF 1.4, the
default; --pdf-version 1.5 keeps all 16, and a warning names each file rounded.
Pictures of any size go in: a TIFF or PNG page may be up to 32767 pixels wide
and tall (larger pictures show as blank pages in viewers that draw with cairo;
a JPEG may be up to 65500), and large ones pass through in bands of rows, so
memory does not grow with them.

Options:
  -o, --output FILE   the PDF to write; "-" writes it to standard output. The file
                      appears only when it is complete: a failed, interrupted or
                      killed run leaves no partial file and an existing FILE
                      untouched. A pipe or character device (a FIFO, /dev/null)
                      is written as "-" is: the PDF goes into it once complete
                      and the node stays; a pipe needs a reader. A socket, block
                      device or folder is refused, as is a @LIST file
  -c, --class CLASS   how each image sits on its page (A4 unless --page-size):
                        fit  the page turns with the image (landscape for an image
                             wider than tall), the image as large as fits, centred;
                             nothing is cut off (the default)
                        2, 3, 5, 8, 10, 16
                             the camera's resolution in megapixels: the page portrait,
                             the image at the lower left corner, one point per pixel
                             times 0.525, 0.42, 0.331, 0.264, 0.2358 or 0.1871; a page
                             whose image reaches past the edge is cut there, with a
                             warning
      --page-size PAPER
                      the paper of every page: a4 (the default), a3, a5, b5 (ISO),
                      letter, legal, or image: each page the size of its image at
                      the resolution its file states (72 dpi when it states none),
                      whatever -c says. With --scan, a4 and letter are also the
                      area scanned, and max scans all the scanner can
      --title TEXT, --author TEXT, --subject TEXT, --keywords TEXT
                      the document's properties, which PDF readers show and
                      search: UTF-8 text of at most 1000 characters, without
                      control characters (line breaks, tabs)
      --first-page-only
                      take only the first page of a multi-page TIFF
      --document      the images are photographs or scans of pages: find the sheet
                      in each photo and flatten it, straighten a scan and cut its
                      dark border away, even the light, and write each page small
                      (black text as a bilevel G4 image, a page with colour as its
                      text over a JPEG of the colour); a photo in which no sheet
                      is found goes in as it is, with a warning
      --rotate=[+|-]ANGLE[:PAGES]
                      turn pages by ANGLE degrees, a multiple of 90: clockwise,
                      or anticlockwise with '-'; PAGES like 1,3-5,z names pages
                      of the PDF (z the last one; each page of a multi-page TIFF
                      counts), every page without it. May be given more than
                      once: the turns add up. The pictures' data stays as it is:
                      the page shows them turned
      --crop=LEFT,TOP,RIGHT,BOTTOM[:PAGES]
                      keep only this rectangle of pages: its edges in pixels of
                      the picture as the page shows it (after its orientation and
                      --rotate), from its top left corner, RIGHT and BOTTOM just
                      past the part kept; at least 16 pixels each way. PAGES as
                      for --rotate, every page without it; of several --crop
                      that name a page, the last one crops it. What is cut away
                      is not in the PDF: a JPEG is cut without loss on its grid
                      of 8 or 16 pixel blocks and the page hides the few pixels
                      between the grid and the crop line; other pictures are
                      written again, losslessly, from the part kept. A cropped
                      page is not corrected by --document
      --interleave    the pages are a two-sided stack fed twice through a
                      one-sided feeder: all the fronts 1..n, then the backs as
                      the turned stack gives them, n..1; they go into the PDF
                      as front 1, back 1, front 2, back 2, ... (6 pages: 1, 6,
                      2, 5, 3, 4). Each page of a multi-page TIFF counts. An
                      odd number of pages is refused. PAGES of --rotate and
                      --crop count the pages in this new order, as the PDF has
                      them
      --ocr           make the PDF searchable: recognise the text of every page and
                      lay it invisibly over the picture, so that it can be found,
                      selected and copied; the pictures stay as they are
      --ocr-lang LANGS
                      the languages to recognise, joined by '+' (implies --ocr;
                      default chi_sim+eng); each needs its Debian package
                      tesseract-ocr-LANG installed
      --pdf-version VERSION
                      the PDF version to write, 1.3 to 1.7 (default 1.4, as the
                      window writes); 1.5 and later keep 16-bit samples whole
  -f, --force         replace an output file you cannot write (as cp -f would)
      --skip-unreadable
                      leave out each image that cannot go into the PDF (missing,
                      damaged, not an image), naming it and why in a warning, and
                      write the PDF of the others; exit status 3 then tells that
                      some were left out. Without it such an image stops the run
      --skip-blank    leave out pages with nothing on them (scanner noise, paper
                      grain, the other side showing through, a faint streak) and
                      say how many; a page with anything written, printed or
                      stamped on it stays. Where --document is given, the
                      corrected page is judged. A run whose every page is blank
                      fails and writes nothing
      --password-file FILE
                      open encrypted PDF inputs with the password on the first
                      line of FILE. It is read from a file because a command
                      line is seen by every user of the machine (in the process
                      list) and is kept in the shell's history
  -h, --help          show this text
      --version       show the version
  PDF                 every page of the PDF (a name ending in .pdf), copied as it
                      is: its text, fonts, images and annotations stay as they
                      are, nothing is drawn again; --rotate and --crop turn and
                      crop its pages too (crop edges in points)
  FOLDER              the folder's JPEG, TIFF and PNG images (by their names), not
                      those of its subfolders, in natural order (page-2 before
                      page-10), as the window adds a folder
  @LIST               read image paths from the file LIST, one per line ("@-" reads
                      standard input); empty lines are skipped
  --                  everything after it is an image path

Scanning (instead of images, the pages come from a scanner):
      --scan          scan until the document feeder is empty (a flatbed: one
                      page) and write the PDF of the scanned pages; each page is
                      kept losslessly: black and white as G4 TIFF, grey and colour
                      as PNG
      --device NAME   the scanner to use (default: the first one found)
      --source flatbed|adf|duplex
                      where the pages come from (default: as the scanner is set)
      --mode color|gray|lineart
                      colour, grey or black and white (default: as the scanner is)
      --resolution DPI
                      dots per inch, one the scanner offers (default: the one
                      nearest 300)
      --page-size a4|letter|max
                      the area scanned: the paper size, or all the scanner can
                      (default: the scanner's own area); a4 and letter are the
                      PDF's paper too
      --keep-pages DIR
                      keep the page files (page-001.png, page-002.tif, ...) in DIR,
                      created if missing; without it they go to a temporary folder
                      removed afterwards
      --list-devices  print the scanners found, one a line: name, vendor, model
                      and type, separated by tabs
  A scanning error (no scanner, paper jam, cover open, ...) leaves no PDF and
  gives exit status 1 with one line saying what happened.

Warnings (an image cut by the page edge, a damaged JPEG that was repaired,
16-bit samples rounded to 8 bits) go to
standard error and do not change the exit status. Progress goes to standard error
when it is a terminal.

Exit status:
  0    the PDF was written
  1    it was not: one line on standard error names the file and the reason
  2    the command line is wrong
  3    with --skip-unreadable: the PDF was written without the images named in
       warnings (when none could be read, the run fails with 1)
  129, 130, 143
       stopped by SIGHUP, SIGINT or SIGTERM; no file was left behind

Example:
  folvane-pdf -o book.pdf cover.jpg scans/*.tif
  folvane-pdf -c 8 -o - @pages.txt > photos.pdf
  folvane-pdf --rotate=90:2,4-z --rotate=-90:3 -o album.pdf photos/*.jpg
  folvane-pdf --crop=0,0,2400,3300:1 -o scan.pdf page.jpg
  folvane-pdf --scan --source adf --mode gray --resolution 300 -o letters.pdf
)");

constexpr const char *kCurvedHelp = N_(R"(Curved pages (with --document):
  A page whose text lines bend (a book's page bending into its gutter, a sheet
  curling at one edge) is straightened: its lines are followed across the page
  and it is remapped so that they run straight. A flat page stays as it is.
      --no-dewarp     keep the four-corner correction alone: bent lines stay bent
      --spreads       a photo of an open book, two pages either side of a shaded
                      fold, becomes its two pages, each flattened: left first
      --right-to-left with --spreads: the right page first, for books read from
                      right to left
)");

constexpr const char *kSeveralHelp = N_(R"(Several documents:
  folvane-pdf --split-every N|--split-at-blank [options] -o OUT.pdf IMAGE|FOLDER|@LIST...
  folvane-pdf --batch MANIFEST [--shard K/N] [--force]

      --split-every N write the pages as documents of N pages each (the last
                      may have fewer): -o OUT.pdf gives OUT-001.pdf, OUT-002.pdf
                      and so on. They are written as a set: they appear
                      together once all are complete; a failed or interrupted
                      run leaves none of them, and files of those names from
                      before as they were
      --split-at-blank
                      a blank page (nothing on it but paper, by the rule of the
                      window's "skip blank pages") separates documents and is
                      left out: a stack of letters with a blank sheet between
                      them gives a document per letter, written as a set as
                      --split-every writes them
      --batch MANIFEST
                      write the documents the manifest lists, one after the
                      other: a line each, its fields separated by tabs, the
                      output first, then the images and options as on this
                      command line; lines starting with '#' are comments;
                      paths are taken from the manifest's folder (see
                      folvane-pdf(1)). For each document a line on standard
                      output: ok, failed or skipped, the manifest's line, the
                      pages, the seconds and the output, separated by tabs. A
                      failure does not stop the batch; exit status 1 then
                      tells that one failed. A document whose output is newer
                      than its inputs and the manifest is skipped, so that a
                      batch started again goes on where it stopped; --force
                      writes them all
      --shard K/N     with --batch: only the documents whose index i (from 0,
                      over the manifest's document lines) has i mod N = K.
                      K may be the name of an environment variable that holds
                      it, such as JOB_COMPLETION_INDEX in a Kubernetes Indexed
                      Job or SLURM_ARRAY_TASK_ID in a Slurm array job. Shards
                      run apart, on one machine or many, with no coordinator

  folvane-pdf --split-every 2 -o letter.pdf scans/*.jpg
  parallel folvane-pdf --batch jobs.tsv --shard {}/4 ::: 0 1 2 3
)");

int usageError(const std::string &reason) {
    std::fprintf(stderr, "folvane-pdf: %s\n%s\n", reason.c_str(), _(kUsage));
    return kExitUsage;
}

// A class by its megapixels, or fit.
std::optional<folvane::PageLayout> layoutFor(const std::string &text) {
    static const char *const kMegapixels[] = {"2", "3", "5", "8", "10", "16"};
    for (int i = 0; i < 6; ++i) {
        if (text == kMegapixels[i]) {
            return folvane::PageLayout::ofClass(i);
        }
    }
    if (text == "fit") {
        return folvane::PageLayout::fitted();
    }
    return std::nullopt;
}

// One option: its names, whether it takes a value, and what it does with it. `apply` returns
// a usage error's reason, or "" when the value is good.
struct Option {
    char shortName; // '\0': none
    const char *longName;
    bool takesValue;
    std::function<std::string(Arguments &, const std::string &value)> apply;
};

// --rotate's value as one more rule; the reason when it is none.
std::string addTurnRule(Arguments &arguments, const std::string &value) {
    std::string reason;
    std::optional<TurnRule> rule = parseTurnRule(value, reason);
    if (!rule) {
        return reason;
    }
    arguments.turns.push_back(std::move(*rule));
    return "";
}

// --crop's value as one more rule; the reason when it is none.
std::string addCropRule(Arguments &arguments, const std::string &value) {
    std::string reason;
    std::optional<CropRule> rule = parseCropRule(value, reason);
    if (!rule) {
        return reason;
    }
    arguments.crops.push_back(std::move(*rule));
    return "";
}

// --split-every's pages per document, from 1 up.
std::string setSplitEvery(Arguments &arguments, const std::string &value) {
    std::size_t pages = 0;
    for (char c : value) {
        if (c < '0' || c > '9' || pages > 99999999) {
            pages = 0;
            break;
        }
        pages = pages * 10 + static_cast<std::size_t>(c - '0');
    }
    if (pages == 0) {
        return fill(_("--split-every takes a number of pages from 1 up, not \"%1\""), {value});
    }
    arguments.splitEvery = pages;
    return "";
}

// What --batch, --shard and the split options rule out; "" when nothing.
std::string batchAndSplitProblem(const Arguments &arguments) {
    const bool split = arguments.splitEvery > 0 || arguments.splitAtBlank;
    if (arguments.splitEvery > 0 && arguments.splitAtBlank) {
        return _("--split-every and --split-at-blank do not go together");
    }
    if (!arguments.batch.empty()) {
        if (!arguments.output.empty() || !arguments.inputs.empty() || split) {
            return _("--batch takes its documents, their outputs and their options from the "
                     "manifest: give it no -o, images or --split-*");
        }
        if (arguments.scan.scan) {
            return _("--batch cannot go with --scan");
        }
        return "";
    }
    if (arguments.shard) {
        return _("--shard goes with --batch");
    }
    if (split && arguments.output == "-") {
        return _(
            "--split-every and --split-at-blank write several files: give -o OUT.pdf, not -o -");
    }
    if (split && arguments.scan.scan) {
        return _("--split-every and --split-at-blank cannot go with --scan");
    }
    return "";
}

// The password options, after the others.
std::vector<Option> withPasswordOptions(std::vector<Option> options) {
    for (const PasswordOptionName &password : passwordOptionNames()) {
        const std::string name = password.name;
        options.push_back({'\0', password.name, password.takesValue,
                           [name](Arguments &a, const std::string &value) {
                               return setPasswordOption(a.passwords, name, value);
                           }});
    }
    return options;
}

// The document's paper and properties, after the others.
std::vector<Option> withDocumentOptions(std::vector<Option> options) {
    for (const DocumentOptionName &option : documentOptionNames()) {
        const std::string name = option.name;
        options.push_back({'\0', option.name, true, [name](Arguments &a, const std::string &value) {
                               return setDocumentOption(a.layout.paper, a.properties, a.scan, name,
                                                        value);
                           }});
    }
    return options;
}

// The document's options, then the scanning and password options, after the others;
// --page-size is the document's, which names the area scanned too.
std::vector<Option> withScanOptions(std::vector<Option> options) {
    options = withDocumentOptions(std::move(options));
    for (const ScanOptionName &scan : scanOptionNames()) {
        const std::string name = scan.name;
        if (name == "page-size") {
            continue;
        }
        options.push_back(
            {'\0', scan.name, scan.takesValue, [name](Arguments &a, const std::string &value) {
                 return setScanOption(a.scan, name, value);
             }});
    }
    return withPasswordOptions(std::move(options));
}

// Splitting a run and running a batch, after the others.
std::vector<Option> withBatchOptions(std::vector<Option> options) {
    std::vector<Option> more = {
        {'\0', "split-every", true, setSplitEvery},
        {'\0', "split-at-blank", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.splitAtBlank = true;
             return "";
         }},
        {'\0', "batch", true,
         [](Arguments &a, const std::string &value) -> std::string {
             if (value.empty()) {
                 return _("--batch needs a manifest file");
             }
             a.batch = value;
             return "";
         }},
        {'\0', "shard", true,
         [](Arguments &a, const std::string &value) -> std::string {
             std::string reason;
             a.shard = parseShard(value, reason);
             return reason;
         }},
    };
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

// What opens encrypted PDF inputs and what leaves blank pages out, after the others.
std::vector<Option> withInputOptions(std::vector<Option> options) {
    options.push_back(
        {'\0', "password-file", true, [](Arguments &a, const std::string &value) -> std::string {
             if (value.empty()) {
                 return _("--password-file needs a file name");
             }
             a.passwordFile = value;
             return "";
         }});
    options.push_back(
        {'\0', "skip-blank", false, [](Arguments &a, const std::string &) -> std::string {
             a.skipBlank = true;
             return "";
         }});
    return options;
}

// What --document leaves out or adds: the curve model that straightens bent pages, splitting
// an open book's spread.
std::vector<Option> withCorrectionOptions(std::vector<Option> options) {
    options.push_back(
        {'\0', "no-dewarp", false, [](Arguments &a, const std::string &) -> std::string {
             a.noDewarp = true;
             return "";
         }});
    options.push_back(
        {'\0', "spreads", false, [](Arguments &a, const std::string &) -> std::string {
             a.spreads = true;
             return "";
         }});
    options.push_back(
        {'\0', "right-to-left", false, [](Arguments &a, const std::string &) -> std::string {
             a.rightToLeft = true;
             return "";
         }});
    return options;
}

// The correction's, the scanning options, those of the inputs and those of several documents,
// after the others.
std::vector<Option> withFurtherOptions(std::vector<Option> options) {
    return withBatchOptions(
        withInputOptions(withScanOptions(withCorrectionOptions(std::move(options)))));
}

const std::vector<Option> &options() {
    static const std::vector<Option> options = withFurtherOptions({
        {'o', "output", true,
         [](Arguments &a, const std::string &value) -> std::string {
             if (!a.output.empty()) {
                 return _("-o given twice");
             }
             if (value.empty()) {
                 return _("-o needs a file name");
             }
             a.output = value;
             return "";
         }},
        {'c', "class", true,
         [](Arguments &a, const std::string &value) -> std::string {
             std::optional<folvane::PageLayout> layout = layoutFor(value);
             if (!layout) {
                 return fill(_("-c takes 2, 3, 5, 8, 10, 16 (megapixels) or fit, not \"%1\""),
                             {value});
             }
             a.layout = layout->onPaper(a.layout.paper);
             return "";
         }},
        {'\0', "first-page-only", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.firstPageOnly = true;
             return "";
         }},
        {'\0', "document", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.document = true;
             return "";
         }},
        {'\0', "rotate", true, addTurnRule},
        {'\0', "crop", true, addCropRule},
        {'\0', "ocr", false,
         [](Arguments &a, const std::string &) -> std::string {
             if (a.ocrLanguages.empty()) {
                 a.ocrLanguages = "chi_sim+eng";
             }
             return "";
         }},
        {'\0', "ocr-lang", true,
         [](Arguments &a, const std::string &value) -> std::string {
             if (value.empty()) {
                 return _("--ocr-lang needs languages, like chi_sim+eng");
             }
             a.ocrLanguages = value;
             return "";
         }},
        {'\0', "pdf-version", true,
         [](Arguments &a, const std::string &value) -> std::string {
             if (value.size() != 3 || value[0] != '1' || value[1] != '.' || value[2] < '3' ||
                 value[2] > '7') {
                 return fill(_("--pdf-version takes 1.3 to 1.7, not \"%1\""), {value});
             }
             a.pdfVersion = value;
             return "";
         }},
        {'\0', "interleave", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.interleave = true;
             return "";
         }},
        {'\0', "skip-unreadable", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.skipUnreadable = true;
             return "";
         }},
        {'f', "force", false,
         [](Arguments &a, const std::string &) -> std::string {
             a.force = true;
             return "";
         }},
    });
    return options;
}

const Option *findShort(char name) {
    for (const Option &option : options()) {
        if (option.shortName == name) {
            return &option;
        }
    }
    return nullptr;
}

const Option *findLong(const std::string &name) {
    for (const Option &option : options()) {
        if (name == option.longName) {
            return &option;
        }
    }
    return nullptr;
}

} // namespace

const char *usageLine() {
    return _(kUsage);
}

namespace {

// What applying one argument asks of the caller.
enum class Step { Next, Help, Version };

// Applies args[i], and its value when that is the next argument (`i` then moves past it).
// Returns a usage error's reason, or "".
std::string applyArgument(const std::vector<std::string> &args, std::size_t &i,
                          Arguments &arguments, bool &onlyInputs, Step &step) {
    const std::string &arg = args[i];
    step = Step::Next;
    if (arg.empty()) { // a shell variable that held nothing, say: no file has that name
        return _("an image name is empty");
    }
    if (onlyInputs || arg.size() < 2 || arg[0] != '-') {
        // After "--" a name that starts with '@' is an image: "./" keeps it from being read
        // as a list and names the same file.
        arguments.inputs.push_back(onlyInputs && arg[0] == '@' ? "./" + arg : arg);
        return "";
    }
    if (arg == "--") {
        onlyInputs = true;
        return "";
    }
    if (arg == "-h" || arg == "--help" || arg == "--version") {
        step = arg == "--version" ? Step::Version : Step::Help;
        return "";
    }
    // --name, --name=value, --name value; -x, -xvalue, -x value.
    const Option *option = nullptr;
    std::string value;
    bool valueGiven = false;
    if (arg[1] == '-') {
        std::size_t equals = arg.find('=');
        option = findLong(arg.substr(2, equals == std::string::npos ? equals : equals - 2));
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
            valueGiven = true;
        }
    } else {
        option = findShort(arg[1]);
        if (arg.size() > 2) {
            value = arg.substr(2);
            valueGiven = true;
        }
    }
    if (option == nullptr || (valueGiven && !option->takesValue)) {
        return fill(_("unknown option %1"), {arg});
    }
    if (option->takesValue && !valueGiven) {
        if (i + 1 >= args.size()) {
            return fill(_("%1 needs a value"), {arg});
        }
        value = args[++i];
    }
    return option->apply(arguments, value);
}

} // namespace

std::string parseDocumentArguments(const std::vector<std::string> &args, Arguments &arguments) {
    bool onlyInputs = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        Step step = Step::Next;
        std::string problem = applyArgument(args, i, arguments, onlyInputs, step);
        if (!problem.empty()) {
            return problem;
        }
        if (step != Step::Next) {
            return fill(_("unknown option %1"), {args[i]});
        }
    }
    return "";
}

std::optional<int> parseArguments(int argc, char **argv, Arguments &arguments) {
    const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    bool onlyInputs = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        Step step = Step::Next;
        std::string problem = applyArgument(args, i, arguments, onlyInputs, step);
        if (!problem.empty()) {
            return usageError(problem);
        }
        if (step == Step::Help) {
            std::printf("%s\n\n%s\n%s\n%s\n%s", _(kUsage), _(kHelp), _(kCurvedHelp), passwordHelp(),
                        _(kSeveralHelp));
            return 0;
        }
        if (step == Step::Version) {
            std::printf("folvane-pdf %s\n", FOLVANE_VERSION);
            return 0;
        }
    }
    if (arguments.interleave && (arguments.skipUnreadable || arguments.scan.scan)) {
        // A page left out or a single pass of the feeder leaves fronts and backs unpaired.
        return usageError(arguments.scan.scan
                              ? _("--interleave orders the pages of images, not those of --scan")
                              : _("--interleave cannot be used with --skip-unreadable: a page "
                                  "left out would pair every later front with the wrong back"));
    }
    if (arguments.noDewarp && !arguments.document && arguments.batch.empty()) {
        return usageError(_("--no-dewarp goes with --document"));
    }
    if (arguments.spreads && !arguments.document && arguments.batch.empty()) {
        return usageError(_("--spreads goes with --document"));
    }
    if (arguments.rightToLeft && !arguments.spreads) {
        return usageError(_("--right-to-left goes with --spreads"));
    }
    std::string scanProblem = checkScanRequest(arguments.scan, !arguments.inputs.empty());
    if (!scanProblem.empty()) {
        return usageError(scanProblem);
    }
    if (std::string problem = batchAndSplitProblem(arguments); !problem.empty()) {
        return usageError(problem);
    }
    if (arguments.scan.listDevices || !arguments.batch.empty()) {
        return std::nullopt;
    }
    std::string passwordProblem;
    arguments.encryption = encryptionFor(arguments.passwords, passwordProblem);
    if (!passwordProblem.empty()) {
        return usageError(passwordProblem);
    }
    if (arguments.output.empty()) {
        return usageError(_("no output file (-o OUT.pdf)"));
    }
    if (arguments.inputs.empty() && !arguments.scan.scan) {
        return usageError(_("no images"));
    }
    return std::nullopt;
}

} // namespace folvane::cli
