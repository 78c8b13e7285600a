// SPDX-License-Identifier: GPL-3.0-or-later
#include "io/JpegWriter.h"

#include "io/AtomicFile.h"
#include "model/Error.h"

#include <csetjmp>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

namespace korvadel {
namespace {

// libjpeg reports fatal errors through error_exit, which by default prints and calls exit().
// Ours jumps back to the compressing function instead. Only plain C state lives between the
// setjmp and the longjmp, so no destructor is skipped.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

void outputMessage(j_common_ptr) {} // warnings are not shown to the user

// Collects the compressed stream in a string in blocks. The string is owned by the caller, so
// a jump out of the compressor leaves it valid.
struct Destination {
    jpeg_destination_mgr base;
    std::string* out;
    JOCTET block[65536];
    bool outOfMemory;
};

void initDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    destination->base.next_output_byte = destination->block;
    destination->base.free_in_buffer = sizeof destination->block;
}

bool appendBlock(Destination* destination, std::size_t size) noexcept {
    try {
        destination->out->append(reinterpret_cast<const char*>(destination->block), size);
        return true;
    } catch (...) {
        destination->outOfMemory = true;
        return false;
    }
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    if (!appendBlock(destination, sizeof destination->block))
        ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
    initDestination(cinfo);
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    const std::size_t used = sizeof destination->block - destination->base.free_in_buffer;
    if (!appendBlock(destination, used))
        ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
}

// Returns false with the libjpeg message in errorText on failure.
bool compressInto(const RgbPicture& picture, std::string& out, char* errorText,
                  std::size_t errorTextSize, Destination& destination) {
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = outputMessage;
    errors.message[0] = '\0';
    if (setjmp(errors.jump)) {
        std::snprintf(errorText, errorTextSize, "%s", errors.message);
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);

    destination.base.init_destination = initDestination;
    destination.base.empty_output_buffer = emptyOutputBuffer;
    destination.base.term_destination = termDestination;
    destination.out = &out;
    destination.outOfMemory = false;
    cinfo.dest = &destination.base;

    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, JpegWriter::kQuality, TRUE);
    // The defaults already write JFIF with density unit 0 and 1:1; set them anyway so that a
    // library built with other defaults still writes no physical resolution.
    cinfo.write_JFIF_header = TRUE;
    cinfo.density_unit = 0;
    cinfo.X_density = 1;
    cinfo.Y_density = 1;

    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(picture.pixels + cinfo.next_scanline * picture.bytesPerLine);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

} // namespace

std::string JpegWriter::compress(const RgbPicture& picture) {
    if (picture.width <= 0 || picture.height <= 0 || picture.pixels == nullptr ||
        picture.bytesPerLine < static_cast<std::size_t>(picture.width) * 3)
        throw Error("Invalid picture size " + std::to_string(picture.width) + " x " +
                    std::to_string(picture.height));
    std::string out;
    char errorText[JMSG_LENGTH_MAX + 1];
    auto destination = std::make_unique<Destination>();
    if (!compressInto(picture, out, errorText, sizeof errorText, *destination))
        throw Error(errorText);
    return out;
}

void JpegWriter::write(AtomicFile& file, const RgbPicture& picture) {
    file.write(compress(picture));
    file.commit();
}

} // namespace korvadel
