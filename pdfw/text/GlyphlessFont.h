// The font of the invisible text layer: a TrueType font whose glyphs draw nothing, all of the
// same width, carried as a Type0 font with Identity-H encoding, so that each two-byte code of
// a text string is a character whose Unicode value the ToUnicode map gives.
#pragma once

#include <string>

#include "pdfw/core/Memory.h"
#include "pdfw/output/ObjectWriter.h"

namespace folvane::pdfw {

class TextEncoding;

// Design units of the font (1000 to the em): every glyph advances half an em; the font's
// ascent and descent bound the box readers give a character.
inline constexpr int kGlyphAdvance = 500;
inline constexpr int kGlyphAscent = 800;
inline constexpr int kGlyphDescent = -200;

// The TrueType file: two empty glyphs (.notdef and the one every code shows).
std::string glyphlessTrueType();

// Writes the Type0 font as object `type0` with its CIDFont, descriptor, font file, CID map and
// the ToUnicode map of `encoding`.
void writeGlyphlessFont(ObjectWriter &writer, int type0, const TextEncoding &encoding,
                        const MemoryProcs &memory);

} // namespace folvane::pdfw
