#include "pdfdoc/PageDrawing.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <new>

#include <poppler/cpp/poppler-image.h>
#include <poppler/cpp/poppler-page-renderer.h>
#include <poppler/cpp/poppler-page.h>

#include "pdfdoc/PopplerOpen.h"

namespace folvane::pdfdoc {

namespace {

// A page smaller than a point, or a box of no pixels, gives no drawing; a page of a thousandth
// of a point drawn into a screen would otherwise ask for an absurd resolution.
constexpr double kMaxPixelsPerPoint = 100;

poppler::rotation_enum rotationOf(int quarterTurns) {
    switch (((quarterTurns % 4) + 4) % 4) {
    case 1:
        return poppler::rotate_90;
    case 2:
        return poppler::rotate_180;
    case 3:
        return poppler::rotate_270;
    default:
        return poppler::rotate_0;
    }
}

// Pixels per point so that a page of width x height points fits the box, and the drawing keeps
// under the pixel ceiling.
double scaleFor(double width, double height, int maxWidth, int maxHeight) {
    double scale = std::min(maxWidth / width, maxHeight / height);
    scale = std::min(scale, kMaxPixelsPerPoint);
    const double pixels = width * scale * height * scale;
    if (pixels > static_cast<double>(kMaxDrawnPixels)) {
        scale *= std::sqrt(static_cast<double>(kMaxDrawnPixels) / pixels);
    }
    return scale;
}

// Copies Poppler's rows of 32-bit pixels (0xAARRGGBB in the machine's byte order, rows perhaps
// padded) into a raster of tight RGB rows.
PdfFailure copyRows(const poppler::image &image, PageRaster &raster) {
    const int width = image.width();
    const int height = image.height();
    if (image.format() != poppler::image::format_argb32 || width <= 0 || height <= 0 ||
        static_cast<long long>(width) * height > kMaxDrawnPixels ||
        image.bytes_per_row() < width * 4) {
        return PdfFailure::Damaged;
    }
    raster.rgb.resize(static_cast<std::size_t>(width) * height * 3);
    const char *source = image.const_data();
    std::uint8_t *to = raster.rgb.data();
    for (int y = 0; y < height; ++y) {
        const char *row = source + static_cast<std::size_t>(y) * image.bytes_per_row();
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel;
            std::memcpy(&pixel, row + static_cast<std::size_t>(x) * 4, 4);
            *to++ = static_cast<std::uint8_t>(pixel >> 16);
            *to++ = static_cast<std::uint8_t>(pixel >> 8);
            *to++ = static_cast<std::uint8_t>(pixel);
        }
    }
    raster.width = width;
    raster.height = height;
    return PdfFailure::None;
}

PdfFailure drawOpenedPage(poppler::document &document, const PageDrawRequest &request,
                          PageRaster &raster) {
    if (request.page < 1 || request.page > document.pages()) {
        return PdfFailure::NoSuchPage;
    }
    const std::unique_ptr<poppler::page> page(document.create_page(request.page - 1));
    if (!page) {
        return PdfFailure::Damaged;
    }
    const poppler::rectf box = page->page_rect(poppler::crop_box);
    const poppler::page::orientation_enum own = page->orientation();
    const bool ownSideways = own == poppler::page::landscape || own == poppler::page::seascape;
    const bool sideways = ownSideways != (request.quarterTurns % 2 != 0);
    const double width = sideways ? box.height() : box.width();
    const double height = sideways ? box.width() : box.height();
    if (!(width >= 1 && height >= 1) || request.maxWidth <= 0 || request.maxHeight <= 0) {
        return PdfFailure::Damaged;
    }
    const double scale = scaleFor(width, height, request.maxWidth, request.maxHeight);
    poppler::page_renderer renderer;
    renderer.set_image_format(poppler::image::format_argb32);
    renderer.set_paper_color(0xffffffff);
    renderer.set_render_hint(poppler::page_renderer::antialiasing);
    renderer.set_render_hint(poppler::page_renderer::text_antialiasing);
    const double dpi = 72 * scale;
    const poppler::image image = renderer.render_page(page.get(), dpi, dpi, -1, -1, -1, -1,
                                                      rotationOf(request.quarterTurns));
    return copyRows(image, raster);
}

} // namespace

PdfFailure drawPdfPage(const PageDrawRequest &request, PageRaster &raster) {
    raster = PageRaster{};
    const std::unique_lock<std::mutex> lock = lockPoppler();
    OpenedPdf opened = openPdf(request.path, request.password);
    if (!opened.document) {
        return opened.failure;
    }
    try {
        const PdfFailure failure = drawOpenedPage(*opened.document, request, raster);
        if (failure != PdfFailure::None) {
            raster = PageRaster{};
        }
        return failure;
    } catch (const std::bad_alloc &) {
        raster = PageRaster{};
        return PdfFailure::TooLarge;
    }
}

} // namespace folvane::pdfdoc
