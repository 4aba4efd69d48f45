#include "platform/gfx/Png.h"

#include <csetjmp>
#include <cstring>

#include <png.h>

#include "platform/gfx/Bmp.h"
#include "platform/gfx/GfxErrors.h"

namespace ld {

namespace {

// State shared with libpng's callbacks. libpng reports errors by longjmp, so
// nothing with a destructor lives between setjmp and the calls that may jump.
struct TPngIo {
    const uint8_t* Data = nullptr;
    size_t Size = 0;
    size_t Pos = 0;
    std::vector<uint8_t>* Out = nullptr;
    char Error[256] = {};
};

void OnError(png_structp png, png_const_charp message)
{
    auto* io = static_cast<TPngIo*>(png_get_error_ptr(png));
    std::snprintf(io->Error, sizeof io->Error, "%s", message != nullptr ? message : "unknown error");
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
    if (length > io->Size - io->Pos)
        png_error(png, "the data is truncated");
    std::memcpy(out, io->Data + io->Pos, length);
    io->Pos += length;
}

void WriteBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* io = static_cast<TPngIo*>(png_get_io_ptr(png));
    io->Out->insert(io->Out->end(), data, data + length);
}

void Flush(png_structp) {}

// What a read produces; it lives in the caller's frame, so a longjmp out of
// libpng leaves it in a known state.
struct TReadTarget {
    std::unique_ptr<TSurface> Surface;
    std::vector<png_bytep> Rows;
    bool TooLarge = false;
    png_uint_32 Width = 0;
    png_uint_32 Height = 0;
};

bool ReadInto(png_structp png, png_infop info, TPngIo& io, TReadTarget& target)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_read_fn(png, &io, ReadBytes);
    png_set_user_limits(png, TSurface::MaxSide, TSurface::MaxSide);
    png_set_chunk_malloc_max(png, 8u << 20);
    png_read_info(png, info);
    int depth = 0, colorType = 0;
    png_get_IHDR(png, info, &target.Width, &target.Height, &depth, &colorType, nullptr, nullptr, nullptr);
    if (uint64_t(target.Width) * target.Height > uint64_t(TSurface::MaxPixels)) {
        target.TooLarge = true;
        png_error(png, "the image is too large");
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(target.Width) * 4)
        png_error(png, "unexpected row layout");
    target.Surface = std::make_unique<TSurface>(Integer(target.Width), Integer(target.Height));
    target.Rows.resize(target.Height);
    for (png_uint_32 y = 0; y < target.Height; ++y)
        target.Rows[y] = reinterpret_cast<png_bytep>(target.Surface->Row(Integer(y)));
    png_read_image(png, target.Rows.data());
    png_read_end(png, nullptr);
    return true;
}

bool WriteFrom(png_structp png, png_infop info, TPngIo& io, const TSurface& surface, bool alpha,
               const TPngOptions& options, std::vector<png_bytep>& rows)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_set_write_fn(png, &io, WriteBytes, Flush);
    png_set_IHDR(png, info, png_uint_32(surface.Width()), png_uint_32(surface.Height()), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, options.CompressionLevel);
    if (options.UpFilterOnly)
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_write_info(png, info);
    png_set_bgr(png);
    if (!alpha)
        png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    return true;
}

} // namespace

std::unique_ptr<TSurface> ReadPng(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        throw EInvalidGraphic("Invalid PNG image: the signature is missing");
    TPngIo io;
    io.Data = data;
    io.Size = size;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
    if (png == nullptr)
        throw EInvalidGraphic("Invalid PNG image: the reader cannot start");
    png_infop info = png_create_info_struct(png);
    TReadTarget target;
    const bool ok = info != nullptr && ReadInto(png, info, io, target);
    png_destroy_read_struct(&png, info != nullptr ? &info : nullptr, nullptr);
    if (!ok) {
        if (target.TooLarge)
            TSurface::CheckSize(Integer(std::min<png_uint_32>(target.Width, INT32_MAX)),
                                Integer(std::min<png_uint_32>(target.Height, INT32_MAX)));
        throw EInvalidGraphic(std::string("Invalid PNG image: ") + io.Error);
    }
    return std::move(target.Surface);
}

std::unique_ptr<TSurface> LoadPngFile(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadWholeFile(path);
    return ReadPng(bytes.data(), bytes.size());
}

std::vector<uint8_t> WritePng(const TSurface& surface, const TPngOptions& options)
{
    if (surface.Width() == 0 || surface.Height() == 0)
        throw EInvalidGraphicOperation("Cannot write an empty PNG image");
    bool alpha = !options.AlphaWhenNeeded;
    if (!alpha)
        for (Integer y = 0; y < surface.Height() && !alpha; ++y)
            for (Integer x = 0; x < surface.Width(); ++x)
                if ((surface.Row(y)[x] >> 24) != 0xFF) {
                    alpha = true;
                    break;
                }
    std::vector<uint8_t> out;
    std::vector<png_bytep> rows(size_t(surface.Height()));
    for (Integer y = 0; y < surface.Height(); ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(const_cast<uint32_t*>(surface.Row(y)));
    TPngIo io;
    io.Out = &out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, OnError, OnWarning);
    if (png == nullptr)
        throw EInvalidGraphicOperation("Cannot start the PNG writer");
    png_infop info = png_create_info_struct(png);
    const bool ok = info != nullptr && WriteFrom(png, info, io, surface, alpha, options, rows);
    png_destroy_write_struct(&png, info != nullptr ? &info : nullptr);
    if (!ok)
        throw EInvalidGraphicOperation(std::string("Cannot write the PNG image: ") + io.Error);
    return out;
}

void SavePngFile(const std::string& path, const TSurface& surface, const TPngOptions& options)
{
    WriteWholeFile(path, WritePng(surface, options));
}

} // namespace ld
