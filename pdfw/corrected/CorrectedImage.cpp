#include "pdfw/corrected/CorrectedImage.h"

#include <algorithm>
#include <cstring>
#include <tiffio.h>
#include <tuple>
#include <utility>

#include "pdfw/core/PdfwError.h"
#include "pdfw/jpeg/JpegEncoder.h"
#include "pdfw/raster/Group4Encoder.h"

namespace folvane::pdfw {

namespace {

// Quality of the colour behind the ink: the ink carries the text at full resolution, so the
// colour may be soft; seals, ink strokes and highlighters stay recognisable at this level.
constexpr int kBackgroundQuality = 45;
// Quality of a page written whole in tones: there the JPEG carries the text itself.
constexpr int kTonesQuality = 60;

Buffer inkAsGroup4(const folvane::correction::CorrectedPage &page, const std::string &path,
                   const MemoryProcs &memory) {
    std::vector<unsigned char> rows(page.ink.begin(), page.ink.end());
    // Ink is 1: black where 1 is black, as Group 4 codes a sheet of paper.
    std::vector<unsigned char> coded = encodeGroup4(
        static_cast<std::uint32_t>(page.width), static_cast<std::uint32_t>(page.height),
        PHOTOMETRIC_MINISWHITE, rows.data(), rows.size(), path);
    Buffer data(memory, coded.size(), "corrected page's ink");
    std::memcpy(data.data(), coded.data(), coded.size());
    return data;
}

std::string faxParameters(const folvane::correction::CorrectedPage &page) {
    return "/Filter/CCITTFaxDecode/DecodeParms<</K -1/Columns " + std::to_string(page.width) +
           "/Rows " + std::to_string(page.height) + ">>";
}

std::string sizeEntries(int width, int height) {
    return "/Width " + std::to_string(width) + "/Height " + std::to_string(height);
}

constexpr double kPointsPerInch = 72;
constexpr double kA4LongInches = 297 / 25.4;
// The largest page a reader takes, in points; a sheet is kept inside it.
constexpr double kLargestSide = 14400;

// Short and long side in inches of a named paper; 0 for none.
std::pair<double, double> paperInches(folvane::correction::PaperSize paper) {
    switch (paper) {
    case folvane::correction::PaperSize::A4:
        return {210 / 25.4, kA4LongInches};
    case folvane::correction::PaperSize::A5:
        return {148 / 25.4, 210 / 25.4};
    case folvane::correction::PaperSize::B5:
        return {176 / 25.4, 250 / 25.4};
    case folvane::correction::PaperSize::Letter:
        return {8.5, 11};
    case folvane::correction::PaperSize::None:
        break;
    }
    return {0, 0};
}

// The sheet the page shows, in points: its paper's size when it has one; else its shape at
// the resolution a scan states; a photo's own resolution says nothing of the paper, so there
// it is taken to be as long as A4, as the correction takes it.
std::pair<double, double> sheetPoints(const folvane::correction::CorrectedPage &page) {
    const bool portrait = page.height >= page.width;
    const double longPixels = std::max(page.width, page.height);
    const double shortPixels = std::min(page.width, page.height);
    auto [shortInches, longInches] = paperInches(page.facts.paper);
    if (longInches == 0) {
        const bool scanSize =
            page.facts.treatedAs == folvane::correction::SourceKind::Scan && page.dpi > 0;
        longInches = scanSize ? longPixels / page.dpi : kA4LongInches;
        shortInches = longInches * shortPixels / longPixels;
    }
    double longSide = longInches * kPointsPerInch;
    double shortSide = shortInches * kPointsPerInch;
    if (longSide > kLargestSide) {
        shortSide *= kLargestSide / longSide;
        longSide = kLargestSide;
    }
    return portrait ? std::pair{shortSide, longSide} : std::pair{longSide, shortSide};
}

PreparedImage withSize(const folvane::correction::CorrectedPage &page) {
    PreparedImage image;
    image.width = static_cast<std::uint32_t>(page.width);
    image.height = static_cast<std::uint32_t>(page.height);
    image.orientation = 1;
    std::tie(image.sheetWidth, image.sheetHeight) = sheetPoints(page);
    return image;
}

PreparedImage bilevelPage(const folvane::correction::CorrectedPage &page, const std::string &path,
                          const MemoryProcs &memory) {
    PreparedImage image = withSize(page);
    ObjectText dict = "/Type/XObject/Subtype/Image" + sizeEntries(page.width, page.height) +
                      "/ColorSpace/DeviceGray/BitsPerComponent 1" + faxParameters(page);
    image.group.objects.push_back(streamObject(std::move(dict), inkAsGroup4(page, path, memory)));
    return image;
}

PreparedImage mixedRasterPage(const folvane::correction::CorrectedPage &page,
                              const std::string &path, const MemoryProcs &memory) {
    PreparedImage image = withSize(page);
    Buffer colour =
        encodeJpeg(page.background.data(), static_cast<std::uint32_t>(page.backgroundWidth),
                   static_cast<std::uint32_t>(page.backgroundHeight), 3,
                   static_cast<std::size_t>(page.backgroundWidth) * 3, kBackgroundQuality, memory);
    image.group.objects.push_back(streamObject(
        "/Type/XObject/Subtype/Image" + sizeEntries(page.backgroundWidth, page.backgroundHeight) +
            "/ColorSpace/DeviceRGB/BitsPerComponent 8/Filter/DCTDecode",
        std::move(colour)));
    // An image mask paints its 0 samples; Group 4's black decodes to 0.
    image.group.objects.push_back(
        streamObject("/Type/XObject/Subtype/Image" + sizeEntries(page.width, page.height) +
                         "/ImageMask true/BitsPerComponent 1" + faxParameters(page),
                     inkAsGroup4(page, path, memory)));
    ObjectText form = "/Type/XObject/Subtype/Form/BBox[0 0 1 1]/Resources<</XObject<</C ";
    form += ObjectRef::own(0);
    form += "/I ";
    form += ObjectRef::own(1);
    form += ">>>>";
    static const char kDraw[] = "/C Do 0 g /I Do\n";
    Buffer content(memory, sizeof kDraw - 1, "corrected page's drawing");
    std::memcpy(content.data(), kDraw, sizeof kDraw - 1);
    image.group.objects.push_back(streamObject(std::move(form), std::move(content)));
    image.xobject = 2;
    return image;
}

// A page whose text is too soft for the ink: one JPEG of the whole page at its own resolution,
// grey for black text on paper, colour when the page has colour.
PreparedImage tonesPage(const folvane::correction::CorrectedPage &page, bool colour,
                        const MemoryProcs &memory) {
    PreparedImage image = withSize(page);
    const std::vector<uint8_t> &pixels = colour ? page.background : page.grey;
    int channels = colour ? 3 : 1;
    Buffer data =
        encodeJpeg(pixels.data(), image.width, image.height, channels,
                   static_cast<std::size_t>(page.width) * channels, kTonesQuality, memory);
    image.group.objects.push_back(
        streamObject("/Type/XObject/Subtype/Image" + sizeEntries(page.width, page.height) +
                         (colour ? "/ColorSpace/DeviceRGB" : "/ColorSpace/DeviceGray") +
                         "/BitsPerComponent 8/Filter/DCTDecode",
                     std::move(data)));
    return image;
}

} // namespace

PreparedImage correctedImage(const folvane::correction::CorrectedPage &page,
                             const std::string &path, const MemoryProcs &memory) {
    std::size_t inkBytes = page.inkRowBytes * static_cast<std::size_t>(page.height);
    if (page.width <= 0 || page.height <= 0 || page.ink.size() < inkBytes ||
        page.inkRowBytes != static_cast<std::size_t>(page.width + 7) / 8) {
        failInternal(PDFW_RUNTIME_ERROR, "a corrected page without its ink");
    }
    bool colour = page.content == folvane::correction::ContentKind::Colour &&
                  page.backgroundWidth > 0 && page.backgroundHeight > 0 &&
                  page.background.size() >=
                      static_cast<std::size_t>(page.backgroundWidth) * page.backgroundHeight * 3;
    if (page.softText) {
        std::size_t pixels = static_cast<std::size_t>(page.width) * page.height;
        bool whole =
            colour ? page.backgroundWidth == page.width && page.backgroundHeight == page.height
                   : page.grey.size() >= pixels;
        if (!whole) {
            failInternal(PDFW_RUNTIME_ERROR, "a corrected page in tones without its pixels");
        }
        return tonesPage(page, colour, memory);
    }
    return colour ? mixedRasterPage(page, path, memory) : bilevelPage(page, path, memory);
}

} // namespace folvane::pdfw
