// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/JpegWriter.h"

#include "io/AtomicFile.h"
#include "model/Error.h"
#include "tests/support/ReadTestSupport.h"
#include "tests/support/WriteTestSupport.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace korvadel {
namespace {

struct Picture {
    std::vector<unsigned char> pixels;
    RgbPicture view;
};

Picture gradient(int width, int height, std::size_t padding = 0) {
    Picture picture;
    const std::size_t stride = static_cast<std::size_t>(width) * 3 + padding;
    picture.pixels.assign(stride * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned char* p = &picture.pixels[stride * y + 3 * x];
            p[0] = static_cast<unsigned char>(x * 255 / std::max(1, width - 1));
            p[1] = static_cast<unsigned char>(std::min(255, 40 + y * 3));
            p[2] = 200;
        }
    picture.view = {picture.pixels.data(), width, height, stride};
    return picture;
}

struct DecodeErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

// What a reader sees of the stream, taken with libjpeg itself.
struct Decoded {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
    bool progressive = false;
    bool jfif = false;
    int densityUnit = -1, xDensity = 0, yDensity = 0;
    int lumaH = 0, lumaV = 0, chromaH = 0, chromaV = 0;
    std::vector<unsigned> luminance, chrominance;
    std::vector<unsigned char> pixels;
};

void onDecodeError(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<DecodeErrors*>(cinfo->err)->jump, 1);
}

void decodeInto(const std::string& bytes, Decoded& out) {
    jpeg_decompress_struct cinfo;
    DecodeErrors errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = onDecodeError;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    out.width = static_cast<int>(cinfo.image_width);
    out.height = static_cast<int>(cinfo.image_height);
    out.components = cinfo.num_components;
    out.colorSpace = cinfo.jpeg_color_space;
    out.progressive = cinfo.progressive_mode;
    out.jfif = cinfo.saw_JFIF_marker;
    out.densityUnit = cinfo.density_unit;
    out.xDensity = cinfo.X_density;
    out.yDensity = cinfo.Y_density;
    out.lumaH = cinfo.comp_info[0].h_samp_factor;
    out.lumaV = cinfo.comp_info[0].v_samp_factor;
    out.chromaH = cinfo.comp_info[1].h_samp_factor;
    out.chromaV = cinfo.comp_info[1].v_samp_factor;
    for (int i = 0; i < DCTSIZE2; ++i) {
        out.luminance.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
        out.chrominance.push_back(cinfo.quant_tbl_ptrs[1]->quantval[i]);
    }
    jpeg_start_decompress(&cinfo);
    const std::size_t stride = static_cast<std::size_t>(cinfo.output_width) * 3;
    out.pixels.resize(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &out.pixels[stride * cinfo.output_scanline];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    out.ok = true;
}

// The tables libjpeg makes for quality 95 (scaled to baseline), the reference for the stream's.
void referenceTables(std::vector<unsigned>& luminance, std::vector<unsigned>& chrominance) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    cinfo.in_color_space = JCS_RGB;
    cinfo.input_components = 3;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    for (int i = 0; i < DCTSIZE2; ++i) {
        luminance.push_back(cinfo.quant_tbl_ptrs[0]->quantval[i]);
        chrominance.push_back(cinfo.quant_tbl_ptrs[1]->quantval[i]);
    }
    jpeg_destroy_compress(&cinfo);
}

bool hasMarker(const std::string& bytes, unsigned char marker) {
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) == 0xFF &&
            static_cast<unsigned char>(bytes[i + 1]) == marker)
            return true;
    return false;
}

TEST(JpegWriter, WritesBaselineColourJfifWithoutResolutionAtQuality95) {
    for (const auto& [width, height, padding] :
         std::vector<std::tuple<int, int, std::size_t>>{{37, 23, 0}, {1, 1, 0}, {640, 3, 5}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        const Picture picture = gradient(width, height, padding);
        const std::string bytes = JpegWriter::compress(picture.view);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
        EXPECT_TRUE(hasMarker(bytes, 0xC0)) << "baseline frame";
        EXPECT_FALSE(hasMarker(bytes, 0xC2)) << "progressive frame";

        Decoded decoded;
        decodeInto(bytes, decoded);
        ASSERT_TRUE(decoded.ok);
        EXPECT_EQ(decoded.width, width);
        EXPECT_EQ(decoded.height, height);
        EXPECT_EQ(decoded.components, 3);
        EXPECT_EQ(decoded.colorSpace, JCS_YCbCr);
        EXPECT_FALSE(decoded.progressive);
        EXPECT_TRUE(decoded.jfif);
        EXPECT_EQ(decoded.densityUnit, 0);
        EXPECT_EQ(decoded.xDensity, 1);
        EXPECT_EQ(decoded.yDensity, 1);
        // libjpeg's default subsampling: 2x2 luminance, 1x1 chrominance.
        EXPECT_EQ(decoded.lumaH, 2);
        EXPECT_EQ(decoded.lumaV, 2);
        EXPECT_EQ(decoded.chromaH, 1);
        EXPECT_EQ(decoded.chromaV, 1);

        std::vector<unsigned> luminance, chrominance;
        referenceTables(luminance, chrominance);
        EXPECT_EQ(decoded.luminance, luminance);
        EXPECT_EQ(decoded.chrominance, chrominance);
        EXPECT_EQ(decoded.luminance[0], 2u) << "quality 95 has a luminance DC step of 2";

        // Quality 95 keeps a smooth picture close to the original.
        int worst = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width * 3; ++x)
                worst = std::max(worst,
                                 std::abs(int(decoded.pixels[std::size_t(y) * width * 3 + x]) -
                                          int(picture.pixels[picture.view.bytesPerLine * y + x])));
        EXPECT_LE(worst, 12);
    }
}

TEST(JpegWriter, LibraryFailuresBecomeErrorsInsteadOfEndingTheProgram) {
    // Beyond libjpeg's largest dimension: its own error, which by default would exit().
    const Picture wide = gradient(70000, 1);
    try {
        JpegWriter::compress(wide.view);
        FAIL() << "no error";
    } catch (const Error& error) {
        EXPECT_NE(std::string(error.what()).find("65500"), std::string::npos) << error.what();
    }
    RgbPicture empty;
    EXPECT_THROW(JpegWriter::compress(empty), Error);
}

TEST(JpegWriter, AFailedWriteKeepsTheFileThatWasThere) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("chart.jpg");
    testing::writeAllTo(path, "old picture");
    {
        AtomicFile file(path);
        const Picture wide = gradient(70000, 1);
        EXPECT_THROW(JpegWriter::write(file, wide.view), Error);
    }
    EXPECT_EQ(testing::readAll(path), "old picture");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"chart.jpg"});

    {
        AtomicFile file(path);
        const Picture picture = gradient(8, 8);
        JpegWriter::write(file, picture.view);
    }
    Decoded decoded;
    decodeInto(testing::readAll(path), decoded);
    EXPECT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.width, 8);
}

TEST(JpegWriter, AnUncreatableFileIsReportedBeforeAnythingIsCompressed) {
    testing::ScratchFolder folder;
    const std::string path = folder.file("missing/chart.jpg");
    // A picture libjpeg refuses: compressed first, it would have given libjpeg's message.
    const Picture wide = gradient(70000, 1);
    EXPECT_EQ(testing::errorOf([&] {
                  AtomicFile file(path);
                  JpegWriter::write(file, wide.view);
              }),
              "Cannot create file \"" + path + "\". No such file or directory");
    EXPECT_TRUE(folder.names().empty());
}

} // namespace
} // namespace korvadel
