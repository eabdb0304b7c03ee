#include "pdfw/jpeg/JpegImage.h"

#include <string>
#include <utility>

#include "pdfw/core/CropArea.h"
#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegCrop.h"

namespace folvane::pdfw {

namespace {

// The first `size` bytes of the file, for the rewriting that needs them in memory.
Buffer readBytes(const InputFile &file, std::size_t size, const MemoryProcs &memory) {
    Buffer bytes(memory, size, "JPEG file");
    file.readExactly(0, bytes.data(), size, "the image data");
    return bytes;
}

// Files of at most this many bytes have their data entropy-decoded (no inverse DCT) before they
// are copied, proving they hold the picture their frame header states: a millisecond at most,
// and at most 64 MiB of coefficients for a hostile header. Larger files go in at the speed of a
// copy, checked by their structure and restart markers only.
constexpr std::uint64_t kEntropyCheckBytes = 64 << 10;

void checkEntropyData(const InputFile &file, const JpegInfo &info, const MemoryProcs &memory) {
    if (info.coding != JpegCoding::Huffman || info.length > kEntropyCheckBytes) {
        return;
    }
    auto length = static_cast<std::size_t>(info.length);
    Buffer bytes = readBytes(file, length, memory);
    std::string fault = entropyDataFault(bytes.data(), length);
    if (!fault.empty()) {
        fail(PDFW_SYNTAX_ERROR,
             damagedFile(file.path(), "JPEG",
                         "its image data do not hold the " + std::to_string(info.width) + " x " +
                             std::to_string(info.height) +
                             " pixels its frame header states (libjpeg: " + fault + ")"));
    }
}

// The one image XObject of `data` (bytes in memory, or a span of the file's own bytes),
// described by `info` and the file's profile.
template <typename Data>
PreparedImage prepared(const JpegInfo &info, int orientation,
                       const std::vector<unsigned char> &profile, const std::string &profileProblem,
                       int pdfMinor, Data data, Notes notes) {
    PreparedImage image;
    image.width = info.width;
    image.height = info.height;
    image.orientation = orientation;
    ColourSpace space = colourSpaceFor(profile, info.components, pdfMinor, notes, profileProblem);
    ObjectText dict = jpegImageDictionary(info, space, image.group);
    image.group.objects.push_back(streamObject(std::move(dict), std::move(data)));
    image.notes = std::move(notes);
    return image;
}

PreparedImage prepareRepaired(JpegPlan &plan, const ImageRequest &request) {
    RewrittenJpeg &fixed = *plan.repaired;
    Notes notes{{PDFW_NOTE_REPAIRED, 0, fixed.warnings}};
    fixed.jpeg.truncate(static_cast<std::size_t>(plan.info.length));
    return prepared(plan.info, fixed.orientation, fixed.iccProfile, fixed.iccProblem,
                    request.pdfMinor, std::move(fixed.jpeg), std::move(notes));
}

// The kept part of the JPEG (its checked or repaired bytes) cut on the block grid, placed as
// the file's own orientation shows it.
PreparedImage prepareCropped(const InputFile &file, JpegPlan &plan, const folvane::StoredArea &area,
                             const ImageRequest &request) {
    const auto length = static_cast<std::size_t>(plan.info.length);
    Notes notes;
    Buffer bytes;
    if (plan.repaired) {
        notes.push_back({PDFW_NOTE_REPAIRED, 0, plan.repaired->warnings});
        bytes = std::move(plan.repaired->jpeg);
    } else {
        bytes = readBytes(file, length, request.memory);
    }
    CroppedJpeg cut = cropJpeg(bytes.data(), length, plan.info, area, request.path, request.memory);
    bytes = Buffer();
    JpegInfo info = inspectJpeg(MemorySource(cut.jpeg.data(), cut.jpeg.size(), file.path()));
    cut.jpeg.truncate(static_cast<std::size_t>(info.length));
    if (info.coding == JpegCoding::Arithmetic) {
        RewrittenJpeg huffman = rewriteJpeg(cut.jpeg.data(), cut.jpeg.size(), request.path,
                                            JpegRewrite::Transcode, request.memory);
        cut.jpeg = std::move(huffman.jpeg);
    }
    const JpegInfo &source = plan.info;
    const int orientation = plan.repaired ? plan.repaired->orientation : source.orientation;
    const auto &profile = plan.repaired ? plan.repaired->iccProfile : source.iccProfile;
    const auto &problem = plan.repaired ? plan.repaired->iccProblem : source.iccProblem;
    PreparedImage image = prepared(info, orientation, profile, problem, request.pdfMinor,
                                   std::move(cut.jpeg), std::move(notes));
    image.shown = cut.shown;
    return image;
}

} // namespace

ObjectText jpegImageDictionary(const JpegInfo &info, const ColourSpace &space, ObjectGroup &group,
                               int colorTransform) {
    ObjectText dict = "/Type/XObject/Subtype/Image/Width " + std::to_string(info.width) +
                      "/Height " + std::to_string(info.height) + "/ColorSpace";
    appendColourSpace(dict, group, space);
    dict += "/BitsPerComponent 8/Filter/DCTDecode";
    // Adobe's CMYK JPEGs store inverted ink values.
    if (info.components == 4 && info.adobe) {
        dict += "/Decode[1 0 1 0 1 0 1 0]";
    }
    if (colorTransform >= 0) {
        if (colorTransform != (info.components == 3 ? 1 : 0)) {
            dict += "/DecodeParms<</ColorTransform " + std::to_string(colorTransform) + ">>";
        }
        return dict;
    }
    // Say explicitly whether the decoder must convert from YCbCr, so that readers need not
    // guess from markers.
    if (info.components == 3 &&
        ((info.adobe && info.adobeTransform == 0) || (!info.adobe && info.rgbComponentIds))) {
        dict += "/DecodeParms<</ColorTransform 0>>";
    }
    if (info.components == 4 && info.adobe && info.adobeTransform == 2) {
        dict += "/DecodeParms<</ColorTransform 1>>";
    }
    return dict;
}

JpegPlan planJpeg(const InputFile &file, const MemoryProcs &memory) {
    JpegPlan plan;
    try {
        plan.info = inspectJpeg(file);
    } catch (const PdfwError &structure) {
        if (structure.type() != PDFW_SYNTAX_ERROR) {
            throw;
        }
        std::size_t size = checkedSize({file.size()}, "\"" + file.path() + "\"");
        Buffer bytes = readBytes(file, size, memory);
        plan.repaired = repairJpeg(bytes.data(), size, structure, memory);
        const Buffer &fixed = plan.repaired->jpeg;
        plan.info = inspectJpeg(MemorySource(fixed.data(), fixed.size(), file.path()));
        plan.intake = JpegPlan::Intake::Repair;
        return plan;
    }
    if (plan.info.coding == JpegCoding::Arithmetic) {
        plan.intake = JpegPlan::Intake::Transcode;
    }
    checkEntropyData(file, plan.info, memory);
    return plan;
}

namespace {

PreparedImage preparePlanned(const InputFile &file, JpegPlan &plan, const ImageRequest &request) {
    const JpegInfo &info = plan.info;
    const int orientation = plan.repaired ? plan.repaired->orientation : info.orientation;
    if (auto area = storedCrop(request, orientation, info.width, info.height)) {
        return prepareCropped(file, plan, *area, request);
    }
    switch (plan.intake) {
    case JpegPlan::Intake::Repair:
        return prepareRepaired(plan, request);
    case JpegPlan::Intake::Transcode: {
        auto length = static_cast<std::size_t>(info.length);
        Buffer bytes = readBytes(file, length, request.memory);
        RewrittenJpeg huffman =
            rewriteJpeg(bytes.data(), length, request.path, JpegRewrite::Transcode, request.memory);
        return prepared(info, info.orientation, info.iccProfile, info.iccProblem, request.pdfMinor,
                        std::move(huffman.jpeg), {});
    }
    case JpegPlan::Intake::Copy:
        break;
    }
    // The checked bytes go in unchanged, copied from the file when they are written.
    return prepared(info, info.orientation, info.iccProfile, info.iccProblem, request.pdfMinor,
                    FileSpan(file, 0, info.length), {});
}

} // namespace

PreparedImage prepareJpeg(const InputFile &file, const ImageRequest &request) {
    JpegPlan plan = planJpeg(file, request.memory);
    PreparedImage image = preparePlanned(file, plan, request);
    image.dpiX = plan.info.dpiX;
    image.dpiY = plan.info.dpiY;
    return image;
}

} // namespace folvane::pdfw
