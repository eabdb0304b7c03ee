#include "image/CfStream.h"

bool CfStream::PutC(int value) {
    const auto byte = static_cast<unsigned char>(value);
    return Write(&byte, 1, 1) == 1;
}
