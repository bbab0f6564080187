#include "images.h"

#include <png.h>

#include <fstream>
#include <iterator>

namespace frontend_test {
namespace {

uint32_t BigEndian32(const unsigned char *p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The value of a colour channel scaled to eight bits.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    uint32_t max = mask >> shift;
    return ((pixel & mask) >> shift) * 255 / max;
}

}  // namespace

bool ReadXwd(const std::string &path, Image &out, std::string &error) {
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (data.size() < 100) {
        error = path + ": not a window dump";
        return false;
    }
    auto field = [&](int i) { return BigEndian32(&data[4 * i]); };
    uint32_t headerSize = field(0), version = field(1), format = field(2), width = field(4), height = field(5);
    uint32_t byteOrder = field(7), bitsPerPixel = field(11), bytesPerLine = field(12);
    uint32_t red = field(14), green = field(15), blue = field(16), colors = field(19);
    if (version != 7 || format != 2 || (bitsPerPixel != 32 && bitsPerPixel != 24)) {
        error = path + ": unexpected dump (version " + std::to_string(version) + ", format " + std::to_string(format) +
                ", " + std::to_string(bitsPerPixel) + " bits a pixel)";
        return false;
    }
    size_t start = headerSize + static_cast<size_t>(colors) * 12;
    if (data.size() < start + static_cast<size_t>(bytesPerLine) * height) {
        error = path + ": the dump is cut short";
        return false;
    }
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    out.pixels.assign(static_cast<size_t>(width) * height, 0);
    size_t bytes = bitsPerPixel / 8;
    for (uint32_t y = 0; y < height; ++y) {
        const unsigned char *row = &data[start + static_cast<size_t>(y) * bytesPerLine];
        for (uint32_t x = 0; x < width; ++x) {
            const unsigned char *p = row + x * bytes;
            uint32_t v = 0;
            for (size_t k = 0; k < bytes; ++k)
                v |= uint32_t{p[byteOrder == 0 ? k : bytes - 1 - k]} << (8 * k);
            out.pixels[static_cast<size_t>(y) * width + x] =
                (Channel(v, red) << 16) | (Channel(v, green) << 8) | Channel(v, blue);
        }
    }
    return true;
}

bool ReadPng(const std::string &path, Image &out, std::string &error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        error = path + ": " + image.message;
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
        error = path + ": " + image.message;
        return false;
    }
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    for (size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = (uint32_t{rgb[3 * i]} << 16) | (uint32_t{rgb[3 * i + 1]} << 8) | rgb[3 * i + 2];
    return true;
}

bool SameArea(const Image &a, const Image &b, int x, int y, int width, int height) {
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i) {
            bool inA = i >= 0 && j >= 0 && i < a.width && j < a.height;
            bool inB = i >= 0 && j >= 0 && i < b.width && j < b.height;
            if (inA != inB || (inA && a.At(i, j) != b.At(i, j))) return false;
        }
    return true;
}

}  // namespace frontend_test
