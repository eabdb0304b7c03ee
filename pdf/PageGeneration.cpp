#include "pdf/PageGeneration.h"

#include "pdf/PdfWriter.h"

namespace folvane {

namespace {

// A4 portrait in points.
constexpr float kPageWidth = 595;
constexpr float kPageHeight = 842;

// Indexed by resolution class: 2, 3, 5, 8, 10 and 16 million pixels.
constexpr float kScales[] = {0.525f, 0.42f, 0.331f, 0.264f, 0.2358f, 0.1871f};

// True when `part` first occurs in `path` after its first character.
bool FoundAfterStart(const std::string &path, const char *part) {
    std::size_t position = path.find(part);
    return position != std::string::npos && position > 0;
}

} // namespace

float ScaleForImageType(int imageType) {
    if (imageType < 0 || imageType > 5) {
        return kScales[5];
    }
    return kScales[imageType];
}

const char *ImageTypeForPath(const std::string &path) {
    if (FoundAfterStart(path, ".jpg") || FoundAfterStart(path, ".JPG")) {
        return "jpeg";
    }
    if (FoundAfterStart(path, ".tif") || FoundAfterStart(path, ".TIF")) {
        return "tiff";
    }
    return "auto";
}

void GeneratePdf(const std::string &savePath, const std::vector<std::string> &imagePaths,
                 int imageType, const std::function<void()> &afterClose,
                 const std::function<void(size_t)> &onPage) {
    const float scale = ScaleForImageType(imageType);
    PdfWriter writer(nullptr, nullptr, nullptr, nullptr);
    writer.SetParameter("compatibility", "1.4");
    if (writer.OpenFile(savePath) == -1) {
        throw "打开文件出错!";
    }
    for (std::size_t i = 0; i < imagePaths.size(); ++i) {
        if (onPage) {
            onPage(i);
        }
        const std::string &path = imagePaths[i];
        writer.BeginPage(kPageWidth, kPageHeight);
        int image = writer.OpenImageFile(ImageTypeForPath(path), path, "", 1);
        writer.PlaceImage(image, 0, 0, scale);
        writer.CloseImage(image);
        writer.EndPage();
    }
    writer.Close();
    if (afterClose) {
        afterClose();
    }
}

} // namespace folvane
