#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/picture.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// The image behind a picture of the Windows layer: its pixels as 0xAARRGGBB, top row first,
// and a 32-bit GDI bitmap of them with premultiplied alpha, ready for AlphaBlend.
class Win32PictureData final : public PictureData {
public:
    Win32PictureData(int width, int height, std::vector<std::uint32_t> pixels);
    ~Win32PictureData() override;
    Win32PictureData(const Win32PictureData&) = delete;
    Win32PictureData& operator=(const Win32PictureData&) = delete;

    const int width;
    const int height;
    const std::vector<std::uint32_t> pixels;
    HBITMAP bitmap() const { return bitmap_; }

private:
    HBITMAP bitmap_ = nullptr;
};

Picture makeWin32Picture(std::string name, int width, int height, std::vector<std::uint32_t> pixels);

// The image of a picture; null for "no picture" or a picture from elsewhere.
const Win32PictureData* imageOf(const Picture& picture);

// The colour an image button shows as transparent: RGB(190, 190, 190).
inline constexpr std::uint32_t kSeeThroughKeyColour = 0xFFBEBEBE;

// The picture with every opaque pixel of the key colour made fully transparent.
Picture withKeyColourTransparent(const Picture& picture, std::uint32_t key = kSeeThroughKeyColour);

// Draws the image with its top-left corner at x, y, blending its alpha over what is there.
void drawPicture(HDC target, const Win32PictureData& image, int x, int y);

} // namespace murmora::win32
