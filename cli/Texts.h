// folvane-pdf's texts in the user's language, through gettext. Each is written in English and
// marked with _() where it is shown, or N_() where it is kept for later, so that xgettext finds
// it for the catalogue (cli/po, kept in step by scripts/translations.py); %1, %2, ... stand for
// the values filled in (Qt's notation, which xgettext --qt and msgfmt check), so that a
// translation keeps its own word order.
#pragma once

#include <libintl.h>

#include "pdf/TextPattern.h"

namespace folvane::cli {

inline const char *_(const char *text) {
    return gettext(text);
}
#define N_(text) text

// pattern with %1, %2, ... replaced by the values in order (pdf/TextPattern.h).
using folvane::fill;

} // namespace folvane::cli
