// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

namespace korvadel {

class AtomicFile;

// A 24-bit colour picture handed to the JPEG compressor: rows of R, G, B bytes from the top.
struct RgbPicture {
    const unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    std::size_t bytesPerLine = 0; // at least 3 * width
};

// The chart pictures are compressed with libjpeg's defaults except for the quality: baseline,
// colour, the standard Huffman tables, the default chroma subsampling, and a JFIF header that
// claims no physical resolution (square pixels, density 1:1).
class JpegWriter {
public:
    static constexpr int kQuality = 95;

    // The complete JPEG stream. A failure inside libjpeg becomes an Error carrying its text;
    // libjpeg never ends the program.
    static std::string compress(const RgbPicture& picture);

    // Compresses the picture into a file opened beforehand (the exports create their file
    // before drawing) and commits it; on failure the file that was there stays untouched.
    static void write(AtomicFile& file, const RgbPicture& picture);
};

} // namespace korvadel
