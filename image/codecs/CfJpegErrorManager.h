#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg error manager whose error exit keeps the library's message and jumps back to the
// point the current call armed (see JpegReadSession). Warnings are counted by the library but
// never printed. Standard layout, trivially destructible: it lives where the jump may cross.
// The PDF engine has its own (pdfw/jpeg/JpegSession.h) on purpose: the preview's decoders never
// throw and keep the reason in ImageInfo::lastError, where the engine raises typed problems, and
// the two libraries share no code.
struct CfJpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];

    // jpeg_std_error with the error exit and the message output replaced.
    void Init();

    static void ErrorExit(j_common_ptr cinfo);
    static void DropMessage(j_common_ptr cinfo);
};
