#include "platform/win32/win32_resources.h"

#include <objidl.h>

#include <gdiplus.h>

#include "platform/win32/win32_picture.h"

namespace murmora::win32 {

namespace {

// The pixels of a bitmap as 0xAARRGGBB, top row first.
Result<Picture> pictureOfBitmap(std::string name, HBITMAP bitmap) {
    BITMAP shape{};
    if (!GetObjectW(bitmap, sizeof shape, &shape)) return make_error_code(ResourceError::unreadable);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, shape.bmWidth, -shape.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(shape.bmWidth) * shape.bmHeight);
    const HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, static_cast<UINT>(shape.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != shape.bmHeight) return make_error_code(ResourceError::unreadable);
    // A bitmap has no alpha: every pixel is opaque.
    for (std::uint32_t& pixel : pixels)
        pixel |= 0xFF000000;
    return makeWin32Picture(std::move(name), shape.bmWidth, shape.bmHeight, std::move(pixels));
}

} // namespace

Win32Resources::Win32Resources() {
    const Gdiplus::GdiplusStartupInput input;
    Gdiplus::GdiplusStartup(&gdiplus_, &input, nullptr);
}

Win32Resources::~Win32Resources() {
    if (gdiplus_) Gdiplus::GdiplusShutdown(gdiplus_);
}

Result<std::vector<unsigned char>> Win32Resources::data(int id, std::string_view type) const {
    const HMODULE program = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(id), toWide(type).c_str());
    if (!found) return make_error_code(ResourceError::missing);
    const HGLOBAL loaded = LoadResource(program, found);
    const auto* bytes = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) return make_error_code(ResourceError::unreadable);
    return std::vector<unsigned char>(bytes, bytes + SizeofResource(program, found));
}

Result<Picture> Win32Resources::bitmap(std::string_view name) const {
    const std::wstring wideName = toWide(name);
    const HMODULE program = GetModuleHandleW(nullptr);
    if (!FindResourceW(program, wideName.c_str(), RT_BITMAP)) return make_error_code(ResourceError::missing);
    const auto bitmap = static_cast<HBITMAP>(LoadImageW(program, wideName.c_str(), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap) return make_error_code(ResourceError::unreadable);
    Result<Picture> picture = pictureOfBitmap(std::string(name), bitmap);
    DeleteObject(bitmap);
    return picture;
}

Result<Picture> Win32Resources::pictureFromFile(const std::string& path) const {
    Gdiplus::Bitmap image(toWide(path).c_str());
    if (image.GetLastStatus() != Gdiplus::Ok) return make_error_code(ResourceError::unreadable);
    const auto width = static_cast<int>(image.GetWidth());
    const auto height = static_cast<int>(image.GetHeight());
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    Gdiplus::BitmapData locked{};
    locked.Width = static_cast<UINT>(width);
    locked.Height = static_cast<UINT>(height);
    locked.Stride = width * 4;
    locked.Scan0 = pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    // ARGB in memory is the pixel 0xAARRGGBB, read straight into the buffer.
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                       &locked) != Gdiplus::Ok)
        return make_error_code(ResourceError::unreadable);
    image.UnlockBits(&locked);
    return makeWin32Picture(path, width, height, std::move(pixels));
}

} // namespace murmora::win32
