#include "platform/Jpeg.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace platform {
namespace {

// A progressive file can repeat scans without end over a large picture; real encoders
// write a few dozen at most.
constexpr int MaxScans = 256;
// libjpeg's own working memory (coefficient buffers of progressive pictures) on top of
// the picture itself.
constexpr long MaxWorkingMemory = 512L * 1024 * 1024;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

struct Progress {
    jpeg_progress_mgr pub;
};

// What the plain decoding function hands back: C types only.
struct RawPicture {
    unsigned char* pixels = nullptr;  // width * height RGB32 words, malloc'd
    int width = 0;
    int height = 0;
    char message[JMSG_LENGTH_MAX] = {};
};

extern "C" void jpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// A warning is a damaged or truncated file: stop, as for an error. Trace messages
// (level 0 and up) are ignored.
extern "C" void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        jpegErrorExit(cinfo);
}

extern "C" void jpegProgress(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "Too many scans in JPEG file");
        std::longjmp(err->jump, 1);
    }
}

inline unsigned char mul255(unsigned a, unsigned b) {
    return static_cast<unsigned char>((a * b + 127) / 255);
}

// The whole decode lives in this one function, which owns no C++ object: libjpeg leaves
// it by longjmp on any error, and a longjmp must not skip a destructor.
bool decodeRaw(const unsigned char* data, unsigned long size, RawPicture* out) {
    jpeg_decompress_struct cinfo;
    ErrorManager jerr;
    Progress progress;
    unsigned char* volatile pixels = nullptr;
    unsigned char* volatile row = nullptr;

    cinfo.err = jpeg_std_error(&jerr.pub);
    jerr.pub.error_exit = jpegErrorExit;
    jerr.pub.emit_message = jpegEmitMessage;
    jerr.message[0] = '\0';
    if (setjmp(jerr.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(row);
        std::free(pixels);
        std::memcpy(out->message, jerr.message, sizeof out->message);
        return false;
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxWorkingMemory;
    progress.pub.progress_monitor = jpegProgress;
    cinfo.progress = &progress.pub;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);

    if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
        cinfo.image_width > unsigned(JpegMaxSide) || cinfo.image_height > unsigned(JpegMaxSide) ||
        static_cast<long long>(cinfo.image_width) * cinfo.image_height > JpegMaxPixels) {
        std::snprintf(jerr.message, sizeof jerr.message, "JPEG picture too large (%u x %u pixels)",
                      cinfo.image_width, cinfo.image_height);
        std::longjmp(jerr.jump, 1);
    }

    switch (cinfo.jpeg_color_space) {
    case JCS_GRAYSCALE: cinfo.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: cinfo.out_color_space = JCS_CMYK; break;
    default: cinfo.out_color_space = JCS_RGB; break;
    }
    jpeg_start_decompress(&cinfo);

    const unsigned width = cinfo.output_width;
    const unsigned height = cinfo.output_height;
    const int components = cinfo.output_components;
    // Adobe's CMYK files store the inks inverted.
    const bool inverted = cinfo.out_color_space == JCS_CMYK && cinfo.saw_Adobe_marker;
    pixels = static_cast<unsigned char*>(std::malloc(std::size_t(width) * height * 4));
    row = static_cast<unsigned char*>(std::malloc(std::size_t(width) * components));
    if (!pixels || !row) {
        std::snprintf(jerr.message, sizeof jerr.message, "Not enough memory for JPEG picture");
        std::longjmp(jerr.jump, 1);
    }

    while (cinfo.output_scanline < height) {
        const unsigned y = cinfo.output_scanline;
        JSAMPROW rows[1] = {row};
        if (jpeg_read_scanlines(&cinfo, rows, 1) != 1) {
            std::snprintf(jerr.message, sizeof jerr.message, "Premature end of JPEG file");
            std::longjmp(jerr.jump, 1);
        }
        auto* line = reinterpret_cast<std::uint32_t*>(pixels + std::size_t(y) * width * 4);
        const unsigned char* s = row;
        for (unsigned x = 0; x < width; ++x, s += components) {
            unsigned r, g, b;
            if (components == 1) {
                r = g = b = s[0];
            } else if (components == 4) {
                const unsigned c = inverted ? s[0] : 255 - s[0];
                const unsigned m = inverted ? s[1] : 255 - s[1];
                const unsigned ye = inverted ? s[2] : 255 - s[2];
                const unsigned k = inverted ? s[3] : 255 - s[3];
                r = mul255(c, k);
                g = mul255(m, k);
                b = mul255(ye, k);
            } else {
                r = s[0];
                g = s[1];
                b = s[2];
            }
            line[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    std::free(row);
    out->pixels = pixels;
    out->width = int(width);
    out->height = int(height);
    return true;
}

}  // namespace

std::optional<QImage> decodeJpeg(QByteArrayView data, QString* error) {
    RawPicture raw;
    const bool ok =
        !data.isEmpty() && decodeRaw(reinterpret_cast<const unsigned char*>(data.data()),
                                     static_cast<unsigned long>(data.size()), &raw);
    if (!ok) {
        if (error)
            *error = data.isEmpty() ? QStringLiteral("Empty JPEG file")
                                    : QString::fromLocal8Bit(raw.message);
        return std::nullopt;
    }
    // The image takes over the decoded buffer.
    return QImage(
        raw.pixels, raw.width, raw.height, qsizetype(raw.width) * 4, QImage::Format_RGB32,
        [](void* p) { std::free(p); }, raw.pixels);
}

}  // namespace platform
