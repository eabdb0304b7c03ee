#include "pdfw/raster/IccProfile.h"

#include <cstring>
#include <utility>

#include "pdfw/core/Digest.h"

namespace folvane::pdfw {

namespace {

constexpr std::size_t kHeaderBytes = 128;

std::uint32_t be32(const unsigned char *p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// Components of the colour space a profile's header names, 0 for the ones PDF images here
// do not use (Lab, XYZ, multi-ink, ...).
int spaceComponents(const unsigned char *signature) {
    if (std::memcmp(signature, "GRAY", 4) == 0) {
        return 1;
    }
    if (std::memcmp(signature, "RGB ", 4) == 0) {
        return 3;
    }
    if (std::memcmp(signature, "CMYK", 4) == 0) {
        return 4;
    }
    return 0;
}

std::string printable(const unsigned char *signature) {
    std::string text;
    for (int i = 0; i < 4; ++i) {
        unsigned char c = signature[i];
        text += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    }
    return "'" + text + "'";
}

} // namespace

std::string iccProblem(const std::vector<unsigned char> &profile, int components) {
    if (profile.size() < kHeaderBytes + 4) {
        return "it is too short for a profile (" + std::to_string(profile.size()) + " bytes)";
    }
    const unsigned char *p = profile.data();
    std::uint32_t declared = be32(p);
    if (declared != profile.size()) {
        return "its header gives " + std::to_string(declared) + " bytes but it holds " +
               std::to_string(profile.size());
    }
    if (std::memcmp(p + 36, "acsp", 4) != 0) {
        return "it lacks the profile signature";
    }
    int spaceComponentCount = spaceComponents(p + 16);
    if (spaceComponentCount == 0) {
        return "its colour space " + printable(p + 16) + " is not grey, RGB or CMYK";
    }
    if (spaceComponentCount != components) {
        return "it describes " + std::to_string(spaceComponentCount) +
               "-component colour but the image has " + std::to_string(components);
    }
    std::uint64_t tags = be32(p + kHeaderBytes);
    if (tags == 0 || kHeaderBytes + 4 + tags * 12 > profile.size()) {
        return "its tag table does not fit in it";
    }
    return "";
}

int iccMajorVersion(const std::vector<unsigned char> &profile) {
    return profile.size() > 8 ? profile[8] : 0;
}

const char *deviceSpace(int components) {
    switch (components) {
    case 1:
        return "/DeviceGray";
    case 4:
        return "/DeviceCMYK";
    default:
        return "/DeviceRGB";
    }
}

ColourSpace colourSpaceFor(const std::vector<unsigned char> &profile, int components, int pdfMinor,
                           Notes &notes, const std::string &readProblem) {
    ColourSpace space{deviceSpace(components), nullptr};
    std::string problem = readProblem;
    if (problem.empty() && !profile.empty()) {
        problem = iccProblem(profile, components);
    }
    if (!problem.empty()) {
        notes.push_back({PDFW_NOTE_PROFILE_IGNORED, 0, problem});
        return space;
    }
    if (profile.empty()) {
        return space;
    }
    // Version 4 profiles belong to PDF 1.5; a reader that does not know them falls back to
    // /Alternate, which is what the page shows without a profile.
    if (iccMajorVersion(profile) >= 4 && pdfMinor < 5) {
        notes.push_back({PDFW_NOTE_PROFILE_TOO_NEW, pdfMinor, ""});
    }
    auto resource = std::make_shared<SharedResource>();
    resource->key = "icc:" + sha256Hex(profile.data(), profile.size());
    Buffer bytes(MemoryProcs{}, profile.size(), "colour profile");
    std::memcpy(bytes.data(), profile.data(), profile.size());
    resource->objects.push_back(streamObject(
        "/N " + std::to_string(components) + "/Alternate" + space.device, std::move(bytes)));
    space.profile = std::move(resource);
    return space;
}

void appendColourSpace(ObjectText &text, ObjectGroup &group, const ColourSpace &space) {
    if (!space.profile) {
        text += space.device;
        return;
    }
    std::size_t index = 0;
    while (index < group.shared.size() && group.shared[index] != space.profile) {
        ++index;
    }
    if (index == group.shared.size()) {
        group.shared.push_back(space.profile);
    }
    text += "[/ICCBased ";
    text += ObjectRef::shared(index);
    text += "]";
}

} // namespace folvane::pdfw
