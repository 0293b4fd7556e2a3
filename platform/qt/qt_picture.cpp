#include "platform/qt/qt_picture.h"

#include <memory>

#include <QFile>
#include <QImageReader>

namespace murmora::qt {

Picture makeQtPicture(std::string name, QImage image) {
    return Picture{std::move(name), std::make_shared<const QtPictureData>(std::move(image))};
}

namespace {

// The format a picture file's first bytes name, or none.
QByteArray formatOfContent(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray head = file.read(8);
    if (head.startsWith("GIF8")) return "gif";
    if (head.startsWith("BM")) return "bmp";
    if (head.startsWith("\x89PNG")) return "png";
    if (head.startsWith("\xFF\xD8\xFF")) return "jpeg";
    return {};
}

} // namespace

QImage readPictureFile(const QString& path) {
    const QByteArray format = formatOfContent(path);
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(format.isEmpty());
    return reader.read();
}

QImage imageOf(const Picture& picture) {
    const auto* data = dynamic_cast<const QtPictureData*>(picture.data.get());
    return data ? data->image : QImage();
}

} // namespace murmora::qt
