#include "pdfw/ImageLoader.h"

#include "pdfw/PdfwError.h"

namespace pdfw {

LoadedImage loadImage(ObjectWriter&, const ImageRequest& request) {
    fail(PDFW_TYPE_ERROR, "\"" + request.path + "\": image reading is not built yet");
}

} // namespace pdfw
