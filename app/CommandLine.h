// What `folvane ARGUMENT...` asks for: the window, starting with the files given, or a text on
// the terminal (--help, --version, a wrong option) and an exit status. The texts are in the
// window's language.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    enum class Action { Window, Help, Version, Wrong };
    Action action = Action::Window;
    std::vector<std::string> files; // Window: the files and folders to start with, as given
    std::string wrong;              // Wrong: the argument that is no option of ours
};

// Reads the arguments after the program's name. --help (-h) or --version anywhere before "--"
// asks for that text, whatever else is given; otherwise an argument that starts with '-' (but
// "-" itself) before "--" is wrong, since a file manager passes files as full paths; everything
// else, and everything after "--", is a file.
CommandLine readCommandLine(const std::vector<std::string> &arguments);

// The texts for the terminal, each ending with a newline: the usage and options, the version,
// and the complaint about a wrong argument (for standard error).
std::string helpText();
std::string versionText();
std::string wrongText(const std::string &argument);

// Exit status after a wrong argument, as folvane-pdf's.
inline constexpr int kExitWrongArguments = 2;
