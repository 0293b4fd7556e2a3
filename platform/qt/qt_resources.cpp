#include "platform/qt/qt_resources.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include "platform/qt/qt_picture.h"

namespace murmora {

namespace {

const char* const BitmapType = "bitmaps";

QString Key(std::string_view text) {
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

QString QtResources::Find(std::string_view type, std::string_view name) const {
    const auto found = table_.find({Key(type), Key(name)});
    return found == table_.end() ? QString() : found->second;
}

std::optional<std::vector<unsigned char>> QtResources::LoadResData(int id, std::string_view type) const {
    const QString path = Find(type, std::to_string(id));
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

Picture QtResources::LoadResPicture(std::string_view name) const {
    const QString path = Find(BitmapType, name);
    if (path.isEmpty()) throw PictureError("The program carries no bitmap named " + std::string(name) + ".");
    QImage image(path);
    if (image.isNull()) throw PictureError("The bitmap " + std::string(name) + " cannot be read as a picture.");
    return MakeQtPicture(std::string(name), std::move(image));
}

Picture QtResources::LoadPicture(const std::string& path) const {
    QImage image;
    if (!image.load(QFile::decodeName(path.c_str()))) {
        throw PictureError("The file " + path + " holds no readable picture.");
    }
    return MakeQtPicture(path, std::move(image));
}

} // namespace murmora
