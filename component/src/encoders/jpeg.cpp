#include "jpeg.h"

#include "pixel_rows.h"

#include <OrvexGDI/VUvuDAVTypes.h>

#include <bit>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}

namespace orvex::encoders {

namespace {

// libjpeg reports errors through error_exit, which by default ends the
// process. This one jumps back to the compress call, which raises.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void jump_back(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

extern "C" void keep_quiet(j_common_ptr, int) {}

// Compressed bytes go to the stream in blocks of 64 KiB.
struct StreamDestination {
    jpeg_destination_mgr pub;
    std::ostream* out;
    JOCTET block[65536];
};

extern "C" void start_block(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<StreamDestination*>(cinfo->dest);
    d->pub.next_output_byte = d->block;
    d->pub.free_in_buffer = sizeof d->block;
}

extern "C" boolean write_block(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<StreamDestination*>(cinfo->dest);
    if (!d->out->write(reinterpret_cast<const char*>(d->block), sizeof d->block))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    start_block(cinfo);
    return TRUE;
}

extern "C" void write_last_block(j_compress_ptr cinfo)
{
    auto* d = reinterpret_cast<StreamDestination*>(cinfo->dest);
    const std::size_t used = sizeof d->block - d->pub.free_in_buffer;
    if (!d->out->write(reinterpret_cast<const char*>(d->block), static_cast<std::streamsize>(used)) || !d->out->flush())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

// Little-endian 0xAARRGGBB words are the bytes B, G, R, A: libjpeg-turbo
// reads them as they stand. Other depths go through one converted row.
constexpr bool kWordsAreBgrx = std::endian::native == std::endian::little;

// Everything that must survive the jump lives in the caller's objects: no
// C++ object with a destructor is made between setjmp and the jump.
bool compress(const TPixelBuffer& picture, int quality, jpeg_compress_struct& cinfo, ErrorManager& errors,
              StreamDestination& destination, std::uint8_t* rgbRow, std::uint32_t* argbRow)
{
    if (setjmp(errors.jump) != 0)
        return false;
    jpeg_create_compress(&cinfo);
    cinfo.dest = &destination.pub;
    cinfo.image_width = static_cast<JDIMENSION>(picture.Width > 0 ? picture.Width : 0);
    cinfo.image_height = static_cast<JDIMENSION>(picture.Height > 0 ? picture.Height : 0);
    const bool direct = picture.BitsPerPixel == 32 && kWordsAreBgrx;
    cinfo.input_components = direct ? 4 : 3;
    cinfo.in_color_space = direct ? JCS_EXT_BGRX : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    for (int c = 0; c < cinfo.num_components; ++c)
        cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        JSAMPROW row = nullptr;
        if (direct) {
            row = const_cast<JSAMPROW>(picture.Row(y));
        } else {
            read_argb_row(picture, y, argbRow);
            for (int x = 0; x < picture.Width; ++x) {
                rgbRow[3 * x] = static_cast<std::uint8_t>(argbRow[x] >> 16);
                rgbRow[3 * x + 1] = static_cast<std::uint8_t>(argbRow[x] >> 8);
                rgbRow[3 * x + 2] = static_cast<std::uint8_t>(argbRow[x]);
            }
            row = rgbRow;
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    return true;
}

} // namespace

void write_jpeg(const TPixelBuffer& picture, std::ostream& out, int quality)
{
    const std::size_t width = picture.Width > 0 ? static_cast<std::size_t>(picture.Width) : 0;
    std::vector<std::uint8_t> rgbRow(width * 3);
    std::vector<std::uint32_t> argbRow(width);
    auto destination = std::make_unique<StreamDestination>();
    destination->out = &out;
    destination->pub.init_destination = start_block;
    destination->pub.empty_output_buffer = write_block;
    destination->pub.term_destination = write_last_block;

    jpeg_compress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = jump_back;
    errors.pub.emit_message = keep_quiet;
    const bool done = compress(picture, quality, cinfo, errors, *destination, rgbRow.data(), argbRow.data());
    jpeg_destroy_compress(&cinfo);
    if (!done)
        throw EFileError(std::string("JPEG encoding failed: ") + errors.message);
}

} // namespace orvex::encoders
