#include "pdfw/jpeg/JpegFormat.h"

#include <utility>

#include "base/FileSignatures.h"
#include "pdfw/core/Orientation.h"
#include "pdfw/jpeg/JpegImage.h"
#include "pdfw/jpeg/JpegPixelDecoder.h"

namespace folvane::pdfw {

namespace {

// JPEGs stating less come from cameras, whose 72 or 96 dpi say nothing about the page:
// recognition estimates the resolution from the text instead.
constexpr int kLeastJpegDpi = 150;

bool recognisesJpeg(const unsigned char *head, std::size_t size) {
    return folvane::isJpegSignature(head, size);
}

int orientationOf(const JpegPlan &plan) {
    return plan.repaired ? plan.repaired->orientation : plan.info.orientation;
}

PageFacts inspectJpegPage(const InputFile &file, int /*page*/, int /*pdfMinor*/) {
    JpegPlan plan = planJpeg(file, MemoryProcs{});
    PageFacts facts;
    bool swap = swapsAxes(orientationOf(plan));
    facts.width = swap ? plan.info.height : plan.info.width;
    facts.height = swap ? plan.info.width : plan.info.height;
    switch (plan.intake) {
    case JpegPlan::Intake::Copy:
        facts.intake = PDFW_INTAKE_COPIED;
        break;
    case JpegPlan::Intake::Transcode:
        facts.intake = PDFW_INTAKE_RECOMPRESSED;
        break;
    case JpegPlan::Intake::Repair:
        facts.intake = PDFW_INTAKE_REPAIRED;
        facts.repair = plan.repaired->warnings;
        break;
    }
    return facts;
}

// The bytes libjpeg decodes: the repaired file where the file needed a repair.
Buffer planBytes(const InputFile &file, JpegPlan &plan, const MemoryProcs &memory) {
    if (plan.repaired) {
        return std::move(plan.repaired->jpeg);
    }
    Buffer bytes(memory, static_cast<std::size_t>(plan.info.length), "JPEG file");
    file.readExactly(0, bytes.data(), bytes.size(), "the image data");
    return bytes;
}

PagePixels jpegRecognitionPixels(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    JpegPlan plan = planJpeg(file, memory);
    Buffer bytes = planBytes(file, plan, memory);
    DecodedJpeg picture =
        decodeJpegPixels(bytes.data(), bytes.size(), file.path(), JpegPixels::Grey, memory);
    PagePixels out;
    out.rows = std::move(picture.rows);
    out.image.width = static_cast<int>(picture.width);
    out.image.height = static_cast<int>(picture.height);
    out.image.depth = 8;
    out.image.rows = out.rows.data();
    out.image.rowBytes = picture.width;
    out.image.orientation = orientationOf(plan);
    out.image.dpi = picture.dpi >= kLeastJpegDpi ? picture.dpi : 0;
    return out;
}

// The picture in colour (or grey for a grey file), of the repaired file where it needed a repair.
PagePicture jpegPicture(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    JpegPlan plan = planJpeg(file, memory);
    Buffer bytes = planBytes(file, plan, memory);
    DecodedJpeg decoded =
        decodeJpegPixels(bytes.data(), bytes.size(), file.path(), JpegPixels::Colour, memory);
    PagePicture picture;
    picture.width = decoded.width;
    picture.height = decoded.height;
    picture.channels = decoded.channels;
    picture.stride = std::size_t{decoded.width} * decoded.channels;
    picture.rows = std::move(decoded.rows);
    picture.orientation = orientationOf(plan);
    picture.dpi = decoded.dpi >= kLeastJpegDpi ? decoded.dpi : 0;
    return picture;
}

} // namespace

const ImageFormat kJpegFormat = {.name = "JPEG",
                                 .bit = PDFW_FORMAT_JPEG,
                                 .recognises = recognisesJpeg,
                                 .countPages = nullptr,
                                 .inspect = inspectJpegPage,
                                 .prepare = prepareJpeg,
                                 .recognitionPixels = jpegRecognitionPixels,
                                 .picture = jpegPicture};

} // namespace folvane::pdfw
