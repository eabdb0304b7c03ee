// Embedded ICC colour profiles: the check that one may describe an image, and the colour space
// an image's dictionary names with it (an ICCBased stream the document holds once per
// distinct profile).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "pdfw/core/PreparedImage.h"
#include "pdfw/core/Problem.h"

namespace folvane::pdfw {

// Why `profile` cannot describe an image of `components` colour components (1, 3 or 4), or
// "" when it can: its header must give its own length, carry the profile signature, name a
// grey, RGB or CMYK colour space of that many components, and its tag table must fit.
std::string iccProblem(const std::vector<unsigned char> &profile, int components);

// The major version of a profile whose header has been checked.
int iccMajorVersion(const std::vector<unsigned char> &profile);

// "/DeviceGray", "/DeviceRGB" or "/DeviceCMYK" for 1, 3 or 4 components.
const char *deviceSpace(int components);

// The colour space of an image: a device space, or the ICCBased space of a profile (a shared
// resource keyed by the profile's digest, so that the document writes it once) with the device
// space as its /Alternate.
struct ColourSpace {
    std::string device;
    std::shared_ptr<const SharedResource> profile;
};

// The colour space for an image of `components` colour components that carries `profile`
// (may be empty): the profile's when it is sound, else the device space with a note added to
// `notes` saying why the profile was left out. `readProblem`, when not empty, says why the
// file's profile could not even be read (then it is left out likewise).
ColourSpace colourSpaceFor(const std::vector<unsigned char> &profile, int components, int pdfMinor,
                           Notes &notes, const std::string &readProblem = "");

// Appends the colour space to `text`, adding its profile to `group`'s shared resources.
void appendColourSpace(ObjectText &text, ObjectGroup &group, const ColourSpace &space);

} // namespace folvane::pdfw
