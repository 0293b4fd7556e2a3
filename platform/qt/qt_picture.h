#pragma once
#include <string>

#include <QImage>

#include "platform/picture.h"

namespace murmora {

// The image behind a picture made by the Qt platform layer.
class QtPictureData final : public PictureData {
public:
    explicit QtPictureData(QImage image) : image(std::move(image)) {}
    const QImage image;
};

Picture makeQtPicture(std::string name, QImage image);

// The image of a picture; a null image for "no picture" or a picture from elsewhere.
QImage imageOf(const Picture& picture);

} // namespace murmora
