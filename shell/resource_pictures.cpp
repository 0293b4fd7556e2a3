#include "shell/resource_pictures.h"

#include <cerrno>
#include <cstdio>

namespace murmora {

Picture ResourcePictures::LoadCustomPicture(std::int32_t id, const std::string& type,
                                            std::optional<std::string> fileName) {
    std::string name;
    if (fileName) {
        name = *fileName;
    } else {
        MakeTempFileName("", TempFilePrefix, 0, name);
    }
    if (SaveResourceToFile(static_cast<std::int16_t>(id), type, name) != 0) return {};
    // A file that holds no readable picture throws here and is left behind, as the loader
    // never got to the deletion.
    Picture picture = resources_.LoadPicture(name);
    files_.RemoveFile(name);
    picture.name = "custom:" + std::to_string(id);
    return picture;
}

std::int32_t ResourcePictures::SaveResourceToFile(std::int16_t id, const std::string& type,
                                                  const std::string& fileName) {
    const auto bytes = resources_.LoadResData(id, type);
    if (!bytes) return ENOENT;
    if (fileName.empty()) return ENOENT;
    return files_.WriteBinary(fileName, *bytes);
}

bool ResourcePictures::MakeTempFileName(std::string folder, const std::string& prefix, std::int16_t unique,
                                        std::string& fileName) {
    if (folder.empty()) {
        folder = TrimAtNul(files_.TempFolder());
        if (folder.empty()) return false;
    }
    if (unique != 0) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%X.tmp", static_cast<unsigned>(static_cast<std::uint16_t>(unique)));
        fileName = folder + "/" + prefix + suffix;
        return true;
    }
    const auto made = files_.CreateUniqueFile(folder, prefix);
    if (!made) return false;
    fileName = TrimAtNul(*made);
    return true;
}

void ResourcePictures::SetButtonPicture(ImageButton& button, std::int32_t id) {
    button.SetPicture(LoadCustomPicture(id, CustomResourceType), 0, 0);
}

void ResourcePictures::SetBitmap(PictureBox& box, const std::string& name) {
    box.SetPicture(resources_.LoadResPicture(name));
}

std::string TrimAtNul(const std::string& text) {
    const auto nul = text.find('\0');
    return nul == std::string::npos ? text : text.substr(0, nul);
}

} // namespace murmora
