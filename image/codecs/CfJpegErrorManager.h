#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// libjpeg error manager whose error exit formats the library's message into the image's error
// text and jumps back to the point the decode armed. Standard layout, trivially destructible:
// it lives on a frame that the jump may cross. Warnings keep the library's default path.
struct CfJpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char *errorText; // at least JMSG_LENGTH_MAX characters

    // jpeg_std_error with error_exit replaced; the decode arms `jump` before any library call.
    void Init(char *text);

    static void ErrorExit(j_common_ptr cinfo);
};
