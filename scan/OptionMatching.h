// The words drivers use for scan sources and modes, matched to the user's names. Drivers spell
// them differently ("Flatbed", "FlatBed", "Document Table"; "ADF", "ADF Front", "Automatic
// Document Feeder"; "Color", "Colour", "24bit Color"; "Lineart", "Binary", "Black & White"), so
// the matching goes by the words' meaning, not their spelling.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scan/ScanSettings.h"

namespace folvane::scan {

// What a "source" value means; nullopt for sources that are none of the three (a film adapter,
// the back side alone).
std::optional<ScanSource> classifySource(const std::string &word);
// What a "mode" value means; nullopt for halftone and colour line art.
std::optional<ScanMode> classifyMode(const std::string &word);

// The offered word for `wanted`: the standard SANE spelling when offered, else the first word
// that means it; nullopt when none does.
std::optional<std::string> sourceWord(const std::vector<std::string> &offered, ScanSource wanted);
std::optional<std::string> modeWord(const std::vector<std::string> &offered, ScanMode wanted);

} // namespace folvane::scan
