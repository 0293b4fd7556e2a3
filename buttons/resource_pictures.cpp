#include "buttons/resource_pictures.h"

namespace murmora {

Result<Picture> ResourcePictures::loadCustomPicture(int id) {
    const std::string folder = files_.tempFolder();
    if (folder.empty()) return std::make_error_code(std::errc::no_such_file_or_directory);
    const Result<std::string> file = files_.createUniqueFile(folder, kTempFilePrefix);
    if (!file) return file.error();
    if (const std::error_code error = writeResource(id, *file)) return error;
    Result<Picture> picture = resources_.pictureFromFile(*file);
    if (!picture) return picture; // the file stays, as the loader never got to the deletion
    // A temporary file that will not go stays behind in the temporary folder: the picture is had.
    static_cast<void>(files_.removeFile(*file));
    picture->name = "custom:" + std::to_string(id);
    return picture;
}

std::error_code ResourcePictures::writeResource(int id, const std::string& path) {
    const auto bytes = resources_.data(id, kCustomResourceType);
    if (!bytes) return bytes.error();
    return files_.writeFile(path, *bytes);
}

} // namespace murmora
