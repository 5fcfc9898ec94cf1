#include "tools/png_io.h"

#include <png.h>

#include <cstdio>
#include <vector>

bool WritePng(const std::string& path, const Surface& s) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(s.width);
    image.height = png_uint_32(s.height);
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(size_t(s.width) * size_t(s.height) * 3);
    for (size_t i = 0; i < s.pixels.size(); ++i) {
        rgb[3 * i] = png_byte(s.pixels[i] >> 16);
        rgb[3 * i + 1] = png_byte(s.pixels[i] >> 8);
        rgb[3 * i + 2] = png_byte(s.pixels[i]);
    }
    return png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

bool ReadPng(const std::string& path, Surface& s) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    s.Create(int(image.width), int(image.height));
    for (size_t i = 0; i < s.pixels.size(); ++i)
        s.pixels[i] = Rgb(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
    return true;
}
