// Rewrites a JPEG from its DCT coefficients: libjpeg reads the coefficients and writes them
// again as a clean Huffman-coded file, baseline or progressive as the original was. The picture
// is unchanged; only the entropy coding and the marker segments around it are new. This turns
// arithmetic coding into Huffman coding, and mends files whose markers are damaged (junk
// before a marker, a stray byte in a header) but whose image data libjpeg reads whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "pdfw/core/Memory.h"
#include "pdfw/core/PdfwError.h"

namespace folvane::pdfw {

enum class JpegRewrite {
    Transcode, // any warning from libjpeg is a failure
    Repair,    // warnings about the markers are allowed, lost image data is not
    Check,     // as Repair, and more than a few stray bytes after the image data fail too
};

struct RewrittenJpeg {
    Buffer jpeg;          // the new file
    std::string warnings; // what libjpeg warned about while reading, "; "-separated
    int orientation = 1;  // from the original's EXIF APP1 segment
    std::vector<unsigned char> iccProfile; // from its APP2 "ICC_PROFILE" segments
    std::string iccProblem;                // why those do not make a profile
};

// Raises PDFW_SYNTAX_ERROR naming `path` when libjpeg cannot read the data whole (a premature
// end, corrupt entropy-coded data; for Transcode any warning), PDFW_OVERFLOW_ERROR when its
// coefficients exceed the engine's memory ceiling, PDFW_MEMORY_ERROR when memory runs out.
RewrittenJpeg rewriteJpeg(const unsigned char *data, std::size_t size, const std::string &path,
                          JpegRewrite mode, const MemoryProcs &memory);

// Reads every coefficient of a JPEG without writing them again (entropy decoding only, no
// inverse DCT): "" when its data hold the whole picture its frame header states, else
// libjpeg's reason (a premature end of the data, a bad code, many bytes left over).
std::string entropyDataFault(const unsigned char *data, std::size_t size);

// Repairs a file whose structure check failed with `structure`; when libjpeg cannot read it
// whole either, raises `structure` with libjpeg's reason added.
RewrittenJpeg repairJpeg(const unsigned char *data, std::size_t size, const PdfwError &structure,
                         const MemoryProcs &memory);

} // namespace folvane::pdfw
