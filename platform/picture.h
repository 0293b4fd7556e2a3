#pragma once
#include <memory>
#include <string>

namespace murmora {

// The decoded image behind a picture; only the platform layer looks inside.
class PictureData {
public:
    virtual ~PictureData() = default;
};

// A picture as the rules hand it around. `name` says where it came from ("custom:105",
// "recordbuttonup"); an empty picture (no data) is "no picture".
struct Picture {
    std::string name;
    std::shared_ptr<const PictureData> data;
    explicit operator bool() const { return data != nullptr; }
};

} // namespace murmora
