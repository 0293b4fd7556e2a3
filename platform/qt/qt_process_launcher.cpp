#include "platform/qt/qt_process_launcher.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace murmora {

bool QtProcessLauncher::StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                                      const std::string& workingFolder) {
    QStringList list;
    for (const auto& argument : arguments) list << QFile::decodeName(argument.c_str());
    return QProcess::startDetached(QFile::decodeName(program.c_str()), list,
                                   QFile::decodeName(workingFolder.c_str()));
}

} // namespace murmora
