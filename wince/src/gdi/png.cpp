// PNG output of surfaces (screenshots) and input for tests, with libpng.
#include "png.h"

#include <png.h>

#include <cstdio>
#include <vector>

namespace wince {

namespace {

struct File {
    FILE *f = nullptr;
    ~File() {
        if (f) fclose(f);
    }
};

void SetError(std::string *error, const std::string &text) {
    if (error) *error = text;
}

}  // namespace

bool WritePng(const Surface &surface, const std::string &path, std::string *error) {
    File file;
    file.f = fopen(path.c_str(), "wb");
    if (!file.f) {
        SetError(error, path + ": cannot be written");
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        SetError(error, "out of memory");
        return false;
    }
    std::vector<uint8_t> row(static_cast<size_t>(surface.Width()) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        SetError(error, path + ": write failed");
        return false;
    }
    png_init_io(png, file.f);
    png_set_IHDR(png, info, surface.Width(), surface.Height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.Height(); ++y) {
        // Surfaces hold blue, green, red; PNG wants red first.
        const uint8_t *p = surface.Row(y);
        for (int x = 0; x < surface.Width(); ++x) {
            row[x * 3] = p[x * 3 + 2];
            row[x * 3 + 1] = p[x * 3 + 1];
            row[x * 3 + 2] = p[x * 3];
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    if (fflush(file.f) != 0) {
        SetError(error, path + ": write failed");
        return false;
    }
    return true;
}

std::shared_ptr<Surface> ReadPng(const std::string &path, std::string *error) {
    File file;
    file.f = fopen(path.c_str(), "rb");
    if (!file.f) {
        SetError(error, path + ": cannot be read");
        return nullptr;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        SetError(error, "out of memory");
        return nullptr;
    }
    std::shared_ptr<Surface> surface;
    std::vector<uint8_t> row;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        SetError(error, path + ": not a readable PNG file");
        return nullptr;
    }
    png_init_io(png, file.f);
    png_read_info(png, info);
    // Whatever the file holds, read it as 8-bit RGB.
    png_set_strip_16(png);
    png_set_palette_to_rgb(png);
    png_set_expand_gray_1_2_4_to_8(png);
    png_set_gray_to_rgb(png);
    png_set_strip_alpha(png);
    png_read_update_info(png, info);
    int width = static_cast<int>(png_get_image_width(png, info));
    int height = static_cast<int>(png_get_image_height(png, info));
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 3 ||
        png_get_interlace_type(png, info) != PNG_INTERLACE_NONE)
        surface = nullptr;
    else
        surface = Surface::Create(width, height);
    if (!surface) {
        png_destroy_read_struct(&png, &info, nullptr);
        SetError(error, path + ": unsupported PNG layout or size");
        return nullptr;
    }
    row.resize(static_cast<size_t>(width) * 3);
    for (int y = 0; y < height; ++y) {
        png_read_row(png, row.data(), nullptr);
        uint8_t *p = surface->Row(y);
        for (int x = 0; x < width; ++x) {
            p[x * 3] = row[x * 3 + 2];
            p[x * 3 + 1] = row[x * 3 + 1];
            p[x * 3 + 2] = row[x * 3];
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return surface;
}

}  // namespace wince
