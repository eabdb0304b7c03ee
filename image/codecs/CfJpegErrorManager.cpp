#include "image/codecs/CfJpegErrorManager.h"

void CfJpegErrorManager::Init() {
    jpeg_std_error(&pub);
    pub.error_exit = &CfJpegErrorManager::ErrorExit;
    pub.output_message = &CfJpegErrorManager::DropMessage;
    message[0] = '\0';
}

void CfJpegErrorManager::ErrorExit(j_common_ptr cinfo) {
    auto *self = reinterpret_cast<CfJpegErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, self->message);
    std::longjmp(self->jump, 1);
}

void CfJpegErrorManager::DropMessage(j_common_ptr) {}
