#pragma once
#include <map>
#include <utility>

#include <QString>

#include "platform/resources.h"

namespace murmora::qt {

// The pictures compiled into the program (Qt resource system), laid out as
// <root>/<type>/<name>.<extension>: "custom/105.gif", "bitmaps/MRSKIN.bmp". Types and names
// are found without regard to case; bitmaps are the type "bitmaps".
class QtResources final : public Resources {
public:
    explicit QtResources(const QString& root = QStringLiteral(":/"));

    Result<std::vector<unsigned char>> data(int id, std::string_view type) const override;
    Result<Picture> bitmap(std::string_view name) const override;
    Result<Picture> pictureFromFile(const std::string& path) const override;

private:
    // The resource path of (type, name), or an empty text.
    QString pathOf(std::string_view type, std::string_view name) const;

    std::map<std::pair<QString, QString>, QString> table_; // (TYPE, NAME) in upper case -> path
};

} // namespace murmora::qt
