#pragma once

#include <string>

// A logical font: the values CreateFont takes that a toolkit can honour.
class CFont {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                    bool underline, bool strikeOut, unsigned charSet, unsigned outPrecision,
                    unsigned clipPrecision, unsigned quality, unsigned pitchAndFamily,
                    const std::string &faceName);

    bool IsCreated() const { return m_created; }
    int Height() const { return m_height; } // pixels; negative means character height
    int Weight() const { return m_weight; }
    bool Italic() const { return m_italic; }
    const std::string &FaceName() const { return m_faceName; }

private:
    bool m_created = false;
    int m_height = 0;
    int m_weight = 0;
    bool m_italic = false;
    std::string m_faceName;
};
