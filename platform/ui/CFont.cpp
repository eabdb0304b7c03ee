#include "platform/ui/CFont.h"

bool CFont::CreateFont(int height, int /*width*/, int /*escapement*/, int /*orientation*/,
                       int weight, bool italic, bool /*underline*/, bool /*strikeOut*/,
                       unsigned /*charSet*/, unsigned /*outPrecision*/, unsigned /*clipPrecision*/,
                       unsigned /*quality*/, unsigned /*pitchAndFamily*/,
                       const std::string &faceName) {
    m_created = true;
    m_height = height;
    m_weight = weight;
    m_italic = italic;
    m_faceName = faceName;
    return true;
}
