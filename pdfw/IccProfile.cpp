#include "pdfw/IccProfile.h"

#include <cstring>

#include <zlib.h>

namespace pdfw {

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

// Two independent 32-bit checksums side by side: a digest that finds equal profiles in one
// pass; the bytes themselves settle every match.
std::uint64_t digest(const std::vector<unsigned char> &bytes) {
    auto size = static_cast<uInt>(bytes.size());
    std::uint64_t crc = crc32(0, bytes.data(), size);
    std::uint64_t sum = adler32(1, bytes.data(), size);
    return crc << 32 | sum;
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

const char *IccSpaces::deviceSpace(int components) {
    switch (components) {
    case 1:
        return "/DeviceGray";
    case 4:
        return "/DeviceCMYK";
    default:
        return "/DeviceRGB";
    }
}

std::string IccSpaces::colourSpace(ObjectWriter &writer, const std::vector<unsigned char> &profile,
                                   int components, int pdfMinor, std::string &notes) {
    if (profile.empty()) {
        return deviceSpace(components);
    }
    std::string problem = iccProblem(profile, components);
    if (!problem.empty()) {
        addNote(notes, "colour profile ignored: " + problem);
        return deviceSpace(components);
    }
    // Version 4 profiles belong to PDF 1.5; a reader that does not know them falls back to
    // /Alternate, which is what the page shows without a profile.
    if (iccMajorVersion(profile) >= 4 && pdfMinor < 5) {
        addNote(notes, "colour profile of ICC version 4 written into a PDF 1." +
                           std::to_string(pdfMinor) +
                           " file (readers without version 4 support show device colours)");
    }
    std::vector<Written> &same = written_[digest(profile)];
    for (const Written &w : same) {
        if (w.bytes == profile) {
            return "[/ICCBased " + std::to_string(w.object) + " 0 R]";
        }
    }
    int object = writer.reserve();
    std::string dict = "/N " + std::to_string(components) + "/Alternate" + deviceSpace(components);
    writer.writeStream(object, dict, profile.data(), profile.size());
    same.push_back({profile, object});
    return "[/ICCBased " + std::to_string(object) + " 0 R]";
}

void addNote(std::string &notes, const std::string &line) {
    if (!notes.empty()) {
        notes += '\n';
    }
    notes += line;
}

} // namespace pdfw
