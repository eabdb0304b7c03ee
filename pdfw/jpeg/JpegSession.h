// The engine's one libjpeg error manager. libjpeg reports a failure by calling an error exit
// that must not return; here it keeps libjpeg's message and jumps back to the call that armed
// the session. Every function that calls libjpeg arms it first, in its own frame:
//
//     if (setjmp(session.jump) != 0) { return false; }   // session.message says why
//
// and holds nothing with a destructor, so the jump skips no cleanup (setjmp cannot be wrapped
// in a function of ours: the frame it marks would be gone). The session is plain data and lives
// beside the libjpeg objects it serves.
//
// The preview's decoders (image/codecs, CfJpegErrorManager) have an error manager of their own
// on purpose: they report in the image library's way and never throw, where the engine raises
// typed problems; the two libraries share no code.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace folvane::pdfw {

struct JpegSession {
    jpeg_error_mgr errors; // first: the callbacks find the session through libjpeg's err pointer
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    void *owner; // what a message filter needs to find, if it needs anything
};

// Sets `session` up and returns the error manager to put into a libjpeg object's `err`. Every
// warning and trace message goes to `onMessage`, or is dropped when it is null (libjpeg would
// print it on stderr).
jpeg_error_mgr *startJpegSession(JpegSession &session, void *owner = nullptr,
                                 void (*onMessage)(j_common_ptr, int) = nullptr);

// The session of a libjpeg object whose errors go to one.
JpegSession &jpegSessionOf(j_common_ptr info);

// Fails the current call: keeps libjpeg's message for the pending error and jumps to the armed
// point. The error exit; also for a message filter that turns a warning into a failure.
[[noreturn]] void failJpegCall(j_common_ptr info);

// Fails the current call with a reason of ours instead of libjpeg's.
[[noreturn]] void failJpegCall(JpegSession &session, const char *reason);

} // namespace folvane::pdfw
