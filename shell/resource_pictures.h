#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/controls.h"
#include "platform/files.h"
#include "platform/resources.h"

namespace murmora {

// Pictures of the image buttons: GIF resources of type "Custom", written to a fresh
// "~rs" temporary file, loaded from there and the file deleted again.
class ResourcePictures {
public:
    ResourcePictures(Resources& resources, Files& files) : resources_(resources), files_(files) {}

    // The picture, or no picture when the resource could not be written out.
    Picture LoadCustomPicture(std::int32_t id, const std::string& type,
                              std::optional<std::string> fileName = std::nullopt);
    // 0 on success, else the number of the error that stopped it.
    std::int32_t SaveResourceToFile(std::int16_t id, const std::string& type, const std::string& fileName);
    // A new temporary file in `folder` (the system's temporary folder when empty); with the
    // unique number 0 the file is made under a name nobody has. True when a name was given.
    bool MakeTempFileName(std::string folder, const std::string& prefix, std::int16_t unique,
                          std::string& fileName);

    // Loads a custom picture and hands it to the button's picture operation.
    void SetButtonPicture(ImageButton& button, std::int32_t id);
    // Loads a bitmap resource by name (any case) into a picture box.
    void SetBitmap(PictureBox& box, const std::string& name);

private:
    Resources& resources_;
    Files& files_;
};

std::string TrimAtNul(const std::string& text);

inline const char* const CustomResourceType = "Custom";
inline const char* const TempFilePrefix = "~rs";

} // namespace murmora
