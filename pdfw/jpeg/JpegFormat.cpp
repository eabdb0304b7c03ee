#include "pdfw/jpeg/JpegFormat.h"

#include <utility>

#include "pdfw/core/Orientation.h"
#include "pdfw/jpeg/JpegGreyDecoder.h"
#include "pdfw/jpeg/JpegImage.h"

namespace pdfw {

namespace {

// JPEGs stating less come from cameras, whose 72 or 96 dpi say nothing about the page:
// recognition estimates the resolution from the text instead.
constexpr int kLeastJpegDpi = 150;

bool recognisesJpeg(const unsigned char *head, std::size_t size) {
    return size >= 3 && head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF;
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

// The picture libjpeg decodes, of the repaired file where the file needed a repair.
PagePixels jpegRecognitionPixels(const InputFile &file, int /*page*/, const MemoryProcs &memory) {
    JpegPlan plan = planJpeg(file, memory);
    Buffer bytes;
    if (plan.repaired) {
        bytes = std::move(plan.repaired->jpeg);
    } else {
        bytes = Buffer(memory, static_cast<std::size_t>(plan.info.length), "JPEG file");
        file.readExactly(0, bytes.data(), bytes.size(), "the image data");
    }
    GreyPicture picture = decodeJpegToGrey(bytes.data(), bytes.size(), file.path(), memory);
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

} // namespace

const ImageFormat kJpegFormat = {"JPEG",          recognisesJpeg, nullptr,
                                 inspectJpegPage, prepareJpeg,    jpegRecognitionPixels};

} // namespace pdfw
