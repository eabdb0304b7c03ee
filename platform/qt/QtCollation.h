#pragma once

#include <QCollator>
#include <QLocale>
#include <optional>

#include "platform/ui/FileNameCollation.h"
#include "platform/ui/NaturalCollation.h"

// File names in the order of the user's locale, as the desktop's file manager lists them: numbers
// by their value, letters without regard to case. The C locale has no such order of its own
// (Qt's collator compares code points there, page-10 before page-2), so there the names are
// compared by NaturalCollation. Follows a change of the default locale.
class QtCollation : public FileNameCollation {
public:
    int Compare(std::string_view a, std::string_view b) const override;

private:
    mutable std::optional<QCollator> m_collator; // for m_locale, made on first use
    mutable QLocale m_locale;
    NaturalCollation m_withoutLocale;
};
