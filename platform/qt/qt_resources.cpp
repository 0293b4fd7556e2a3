#include "platform/qt/qt_resources.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include "platform/qt/qt_picture.h"

namespace murmora::qt {

namespace {

const char* const kBitmapType = "bitmaps";

QString key(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toUpper();
}

} // namespace

QtResources::QtResources(const QString& root) {
    const QDir top(root);
    for (const QFileInfo& typeFolder : top.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QFileInfo& file : QDir(typeFolder.filePath()).entryInfoList(QDir::Files)) {
            table_[{typeFolder.fileName().toUpper(), file.completeBaseName().toUpper()}] = file.filePath();
        }
    }
}

QString QtResources::pathOf(std::string_view type, std::string_view name) const {
    const auto found = table_.find({key(type), key(name)});
    return found == table_.end() ? QString() : found->second;
}

Result<std::vector<unsigned char>> QtResources::data(int id, std::string_view type) const {
    QFile file(pathOf(type, std::to_string(id)));
    if (file.fileName().isEmpty()) return make_error_code(ResourceError::missing);
    if (!file.open(QIODevice::ReadOnly)) return make_error_code(ResourceError::unreadable);
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

Result<Picture> QtResources::bitmap(std::string_view name) const {
    const QString path = pathOf(kBitmapType, name);
    if (path.isEmpty()) return make_error_code(ResourceError::missing);
    QImage image = readPictureFile(path);
    if (image.isNull()) return make_error_code(ResourceError::unreadable);
    return makeQtPicture(std::string(name), std::move(image));
}

Result<Picture> QtResources::pictureFromFile(const std::string& path) const {
    QImage image = readPictureFile(QFile::decodeName(path.c_str()));
    if (image.isNull()) return make_error_code(ResourceError::unreadable);
    return makeQtPicture(path, std::move(image));
}

} // namespace murmora::qt
