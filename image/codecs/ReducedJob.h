// What the reduced decoders of each format share: the caller's chooser, the image that
// receives the result and the facts reported back (see image/ReducedDecode.h).
#pragma once

#include <cstdint>

#include "image/CfImage.h"
#include "image/ReducedDecode.h"

struct ReducedJob {
    const ReducedSizeChooser &choose;
    CfImage &image; // receives the reduced picture; info.frame picks a TIFF page
    ReducedFacts &facts;

    // Records the picture's upright size and asks the chooser for the reduced size. Raises
    // DecodeFailure, naming `module`, when a side is beyond kReducedMaxSide or the chooser
    // declines.
    ReducedSize chooseSize(uint32_t uprightWidth, uint32_t uprightHeight, const char *module);
};

// The reduced decoders. Each reads from the stream's position (the TIFF one from position 0),
// fills job.image and job.facts, and raises DecodeFailure with its reason.
void decodeReducedJpeg(CfStream &stream, ReducedJob &job);
void decodeReducedPng(CfStream &stream, ReducedJob &job);
void decodeReducedTiff(CfStream &stream, ReducedJob &job);
