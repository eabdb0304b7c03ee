#include "app/CommandLine.h"

namespace {

constexpr const char *kHelp = R"(usage: folvane [FILE|FOLDER...]

Opens the Folvane window: an ordered list of page images (JPEG, TIFF, PNG), a
preview of the page each becomes, and "生成PDF", which writes them into one PDF.
The files given start the list in the order given; a folder gives its image
files, ordered by name. A file manager's "Open with" starts it this way.

Options:
  -h, --help      show this text
      --version   show the version
  --              everything after it is a file, also a name starting with '-'

folvane-pdf(1) makes the same PDF from the command line.
)";

bool IsOption(const std::string &argument) {
    return argument.size() > 1 && argument[0] == '-';
}

} // namespace

CommandLine ReadCommandLine(const std::vector<std::string> &arguments) {
    CommandLine line;
    for (const std::string &argument : arguments) {
        if (argument == "--") {
            break;
        }
        if (argument == "-h" || argument == "--help") {
            line.action = CommandLine::Action::Help;
            return line;
        }
        if (argument == "--version") {
            line.action = CommandLine::Action::Version;
            return line;
        }
    }
    bool onlyFiles = false;
    for (const std::string &argument : arguments) {
        if (!onlyFiles && argument == "--") {
            onlyFiles = true;
        } else if (!onlyFiles && IsOption(argument)) {
            return CommandLine{CommandLine::Action::Wrong, {}, argument};
        } else {
            line.files.push_back(argument);
        }
    }
    return line;
}

std::string HelpText() {
    return kHelp;
}

std::string VersionText() {
    return std::string("folvane ") + FOLVANE_VERSION + "\n";
}

std::string WrongText(const std::string &argument) {
    return "folvane: unknown option " + argument + "\nTry 'folvane --help' for more.\n";
}
