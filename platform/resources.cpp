#include "platform/resources.h"

#include "core/texts.h"

namespace murmora {

namespace {

class ResourceCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "resource"; }
    std::string message(int error) const override {
        return static_cast<ResourceError>(error) == ResourceError::missing
                   ? translated("the program carries no such picture")
                   : translated("it holds no readable picture");
    }
};

} // namespace

const std::error_category& resourceCategory() {
    static const ResourceCategory category;
    return category;
}

std::error_code make_error_code(ResourceError error) { return {static_cast<int>(error), resourceCategory()}; }

} // namespace murmora
