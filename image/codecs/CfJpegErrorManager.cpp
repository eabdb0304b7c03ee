#include "image/codecs/CfJpegErrorManager.h"

void CfJpegErrorManager::Init(char *text) {
    jpeg_std_error(&pub);
    pub.error_exit = &CfJpegErrorManager::ErrorExit;
    errorText = text;
}

void CfJpegErrorManager::ErrorExit(j_common_ptr cinfo) {
    auto *self = reinterpret_cast<CfJpegErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, self->errorText);
    std::longjmp(self->jump, 1);
}
