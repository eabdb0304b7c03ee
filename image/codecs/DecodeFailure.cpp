#include "image/codecs/DecodeFailure.h"

#include <cstdio>

DecodeFailure::DecodeFailure(const char *text) {
    std::snprintf(m_text, sizeof m_text, "%s", text ? text : "");
}

void RaiseDecodeFailure(const char *text) {
    throw DecodeFailure(text);
}
