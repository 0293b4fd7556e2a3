#include "platform/qt/qt_picture.h"

#include <memory>

namespace murmora {

Picture makeQtPicture(std::string name, QImage image) {
    return Picture{std::move(name), std::make_shared<const QtPictureData>(std::move(image))};
}

QImage imageOf(const Picture& picture) {
    const auto* data = dynamic_cast<const QtPictureData*>(picture.data.get());
    return data ? data->image : QImage();
}

} // namespace murmora
