#pragma once
#include "platform/resources.h"
#include "platform/wide/wide.h"

namespace murmora::win32 {

// Resources of the program's executable (windres): the pictures of type CUSTOM by number, the
// bitmaps by name. Windows matches both without regard to case. Pictures from files are read
// with GDI+, which this object starts and ends.
class Win32Resources final : public Resources {
public:
    Win32Resources();
    ~Win32Resources() override;
    Win32Resources(const Win32Resources&) = delete;
    Win32Resources& operator=(const Win32Resources&) = delete;

    Result<std::vector<unsigned char>> data(int id, std::string_view type) const override;
    Result<Picture> bitmap(std::string_view name) const override;
    Result<Picture> pictureFromFile(const std::string& path) const override;

private:
    ULONG_PTR gdiplus_ = 0;
};

} // namespace murmora::win32
