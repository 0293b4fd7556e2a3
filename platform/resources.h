#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/picture.h"

namespace murmora {

// Pictures carried inside the program. Types and names are matched without regard to case.
class Resources {
public:
    virtual ~Resources() = default;
    // The bytes of the resource with this numeric id and type, or nothing when it is missing.
    virtual std::optional<std::vector<unsigned char>> LoadResData(int id, std::string_view type) const = 0;
    // A bitmap resource by name; throws PictureError when it is missing or unreadable.
    virtual Picture LoadResPicture(std::string_view name) const = 0;
    // A picture read from a file; throws PictureError when the file holds no readable picture.
    virtual Picture LoadPicture(const std::string& path) const = 0;
};

} // namespace murmora
