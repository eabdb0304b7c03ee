// Embedded ICC colour profiles: the check that one may describe an image, and the document's
// ICCBased colour spaces, one stream per distinct profile.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "pdfw/ObjectWriter.h"

namespace pdfw {

// Why `profile` cannot describe an image of `components` colour components (1, 3 or 4), or
// "" when it can: its header must give its own length, carry the profile signature, name a
// grey, RGB or CMYK colour space of that many components, and its tag table must fit.
std::string iccProblem(const std::vector<unsigned char> &profile, int components);

// The major version of a profile whose header has been checked.
int iccMajorVersion(const std::vector<unsigned char> &profile);

// One ICCBased colour space object per distinct profile in a document. Profiles are found by a
// digest of their bytes and told apart by the bytes themselves.
class IccSpaces {
public:
    // "/DeviceGray", "/DeviceRGB" or "/DeviceCMYK" for `components`.
    static const char *deviceSpace(int components);

    // The colour space for an image of `components` colour components that carries `profile`
    // (may be empty): the profile's ICCBased space (its stream, written on first use) when
    // the profile is sound; else the device space, with a line added to `notes` saying why.
    std::string colourSpace(ObjectWriter &writer, const std::vector<unsigned char> &profile,
                            int components, int pdfMinor, std::string &notes);

private:
    struct Written {
        std::vector<unsigned char> bytes;
        int object;
    };
    std::unordered_map<std::uint64_t, std::vector<Written>> written_;
};

// Adds `line` to newline-separated `notes`.
void addNote(std::string &notes, const std::string &line);

} // namespace pdfw
