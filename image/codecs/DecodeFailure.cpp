#include "image/codecs/DecodeFailure.h"

#include <cstdio>

DecodeFailure::DecodeFailure(const char *text) {
    std::snprintf(text_, sizeof text_, "%s", text ? text : "");
}

void raiseDecodeFailure(const char *text) {
    throw DecodeFailure(text);
}
