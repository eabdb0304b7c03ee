// Which language folvane-pdf speaks: the user's, as the locale says (LANGUAGE's list, LC_ALL,
// LC_MESSAGES, LANG), read by gettext. English, as the texts are written, for the C and POSIX
// locales (LC_ALL=C for scripts that read the messages) and for languages without a catalogue;
// Chinese (the simplified Chinese catalogue) for every Chinese locale.
#pragma once

namespace folvane::cli {

// Sets up gettext for the program's messages, once, before anything is said. Only the messages
// follow the locale: numbers in the PDF and in file names are never written in the locale's way.
// A locale the system has not installed still gets its language's messages (in UTF-8).
void followUserLanguage();

} // namespace folvane::cli
