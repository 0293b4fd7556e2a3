#pragma once
#include <string>
#include <string_view>
#include <system_error>

#include "core/result.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace murmora {

// The pictures of the buttons, from the program's resources. An image button's picture is a GIF
// resource of type "Custom", written to a fresh "~rs" file in the temporary folder, loaded from
// there and the file deleted again; nothing is cached.
class ResourcePictures {
public:
    ResourcePictures(Resources& resources, Files& files) : resources_(resources), files_(files) {}

    // The custom picture `id`. A resource that is missing or holds no readable picture leaves
    // its temporary file behind.
    Result<Picture> loadCustomPicture(int id);
    // The bitmap resource `name` (any case).
    Result<Picture> loadBitmap(std::string_view name) const { return resources_.bitmap(name); }
    // Shows custom picture `id` on the button, or no picture when it cannot be had.
    void showCustomPicture(PictureButton& button, int id) { show(button, loadCustomPicture(id)); }
    // Shows the bitmap `name` on the button, or no picture when it cannot be had.
    void showBitmap(PictureButton& button, std::string_view name) { show(button, loadBitmap(name)); }

private:
    static void show(PictureButton& button, const Result<Picture>& picture) {
        button.setPicture(picture ? *picture : Picture{});
    }
    std::error_code writeResource(int id, const std::string& path);

    Resources& resources_;
    Files& files_;
};

inline constexpr const char* kCustomResourceType = "Custom";
inline constexpr const char* kTempFilePrefix = "~rs";

} // namespace murmora
