#pragma once
#include <string>

#include <QImage>

#include "platform/picture.h"

namespace murmora::qt {

// The image behind a picture made by the Qt platform layer.
class QtPictureData final : public PictureData {
public:
    explicit QtPictureData(QImage image) : image(std::move(image)) {}
    const QImage image;
};

Picture makeQtPicture(std::string name, QImage image);

// The image of a picture; a null image for "no picture" or a picture from elsewhere.
QImage imageOf(const Picture& picture);

// The picture in the file at `path`, or a null image. Read in the format its first bytes name,
// a file needs at most its own image plugin: left to find the format, Qt loads every image
// plugin to ask each, which costs start-up time and memory.
QImage readPictureFile(const QString& path);

} // namespace murmora::qt
