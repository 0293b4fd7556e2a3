#include "platform/win32/win32_picture.h"

#include <algorithm>
#include <cstring>

namespace murmora::win32 {

namespace {

std::uint32_t premultiplied(std::uint32_t argb) {
    const std::uint32_t alpha = argb >> 24;
    auto channel = [&](int shift) { return (((argb >> shift) & 0xFF) * alpha / 255) << shift; };
    return (alpha << 24) | channel(16) | channel(8) | channel(0);
}

} // namespace

Win32PictureData::Win32PictureData(int width, int height, std::vector<std::uint32_t> pixels)
    : width(width), height(height), pixels(std::move(pixels)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap_) return;
    auto* out = static_cast<std::uint32_t*>(bits);
    std::transform(this->pixels.begin(), this->pixels.end(), out, premultiplied);
}

Win32PictureData::~Win32PictureData() {
    if (bitmap_) DeleteObject(bitmap_);
}

Picture makeWin32Picture(std::string name, int width, int height, std::vector<std::uint32_t> pixels) {
    return {std::move(name), std::make_shared<const Win32PictureData>(width, height, std::move(pixels))};
}

const Win32PictureData* imageOf(const Picture& picture) {
    return dynamic_cast<const Win32PictureData*>(picture.data.get());
}

Picture withKeyColourTransparent(const Picture& picture, std::uint32_t key) {
    const Win32PictureData* image = imageOf(picture);
    if (!image) return picture;
    std::vector<std::uint32_t> pixels = image->pixels;
    std::replace(pixels.begin(), pixels.end(), key, std::uint32_t{0});
    return makeWin32Picture(picture.name, image->width, image->height, std::move(pixels));
}

void drawPicture(HDC target, const Win32PictureData& image, int x, int y) {
    if (!image.bitmap()) return;
    const HDC source = CreateCompatibleDC(target);
    const HGDIOBJ previous = SelectObject(source, image.bitmap());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(target, x, y, image.width, image.height, source, 0, 0, image.width, image.height, blend);
    SelectObject(source, previous);
    DeleteDC(source);
}

} // namespace murmora::win32
