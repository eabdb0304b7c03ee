#include "pdfw/jpeg/JpegSession.h"

namespace folvane::pdfw {

namespace {

void dropMessage(j_common_ptr, int) {}

} // namespace

jpeg_error_mgr *startJpegSession(JpegSession &session, void *owner,
                                 void (*onMessage)(j_common_ptr, int)) {
    jpeg_std_error(&session.errors);
    session.errors.error_exit = failJpegCall;
    session.errors.emit_message = onMessage ? onMessage : dropMessage;
    session.message[0] = '\0';
    session.owner = owner;
    return &session.errors;
}

JpegSession &jpegSessionOf(j_common_ptr info) {
    return *reinterpret_cast<JpegSession *>(info->err);
}

void failJpegCall(j_common_ptr info) {
    JpegSession &session = jpegSessionOf(info);
    info->err->format_message(info, session.message);
    std::longjmp(session.jump, 1);
}

void failJpegCall(JpegSession &session, const char *reason) {
    std::snprintf(session.message, sizeof session.message, "%s", reason);
    std::longjmp(session.jump, 1);
}

} // namespace folvane::pdfw
