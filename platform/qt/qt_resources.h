#pragma once
#include <map>
#include <utility>

#include <QString>

#include "platform/resources.h"

namespace murmora {

// The pictures compiled into the program (Qt resource system), laid out as
// <root>/<type>/<name>.<extension>: "custom/105.gif", "bitmaps/MRSKIN.bmp". Types and names
// are found without regard to case; bitmaps are the type "bitmaps".
class QtResources final : public Resources {
public:
    explicit QtResources(const QString& root = QStringLiteral(":/"));

    std::optional<std::vector<unsigned char>> LoadResData(int id, std::string_view type) const override;
    Picture LoadResPicture(std::string_view name) const override;
    Picture LoadPicture(const std::string& path) const override;

private:
    // The resource path of (type, name), or an empty text.
    QString Find(std::string_view type, std::string_view name) const;

    std::map<std::pair<QString, QString>, QString> table_;  // (TYPE, NAME) in upper case -> path
};

} // namespace murmora
