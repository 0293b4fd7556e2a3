#pragma once
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/result.h"
#include "core/texts.h"
#include "platform/picture.h"

namespace murmora {

// Why a resource gives nothing.
enum class ResourceError {
    missing = 1,
    unreadable
};
inline const std::error_category& resourceCategory() {
    class ResourceCategory final : public std::error_category {
    public:
        const char* name() const noexcept override { return "resource"; }
        std::string message(int error) const override {
            return static_cast<ResourceError>(error) == ResourceError::missing
                       ? translated("the program carries no such picture")
                       : translated("it holds no readable picture");
        }
    };
    static const ResourceCategory category;
    return category;
}
// Named as the standard library looks for it, so that a ResourceError is an error_code.
inline std::error_code make_error_code(ResourceError error) { return {static_cast<int>(error), resourceCategory()}; }

// Pictures carried inside the program. Types and names are matched without regard to case.
class Resources {
public:
    virtual ~Resources() = default;
    // The bytes of the resource with this numeric id and type.
    virtual Result<std::vector<unsigned char>> data(int id, std::string_view type) const = 0;
    // A bitmap resource by name.
    virtual Result<Picture> bitmap(std::string_view name) const = 0;
    // A picture read from a file (GIF, BMP and the other formats the platform reads).
    virtual Result<Picture> pictureFromFile(const std::string& path) const = 0;
};

} // namespace murmora

template <>
struct std::is_error_code_enum<murmora::ResourceError> : std::true_type {};
