#include "platform/qt/qt_process_launcher.h"

#include <cerrno>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStringList>

namespace murmora::qt {

std::error_code QtProcessLauncher::startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                                 const std::string& workingFolder) {
    // QProcess tells no reason; the system does, for the usual ones (a program given by its path).
    if (program.find('/') != std::string::npos && ::access(program.c_str(), X_OK) != 0)
        return {errno, std::system_category()};
    QStringList list;
    for (const auto& argument : arguments)
        list << QFile::decodeName(argument.c_str());
    const bool started =
        QProcess::startDetached(QFile::decodeName(program.c_str()), list, QFile::decodeName(workingFolder.c_str()));
    return started ? std::error_code() : std::make_error_code(std::errc::io_error);
}

} // namespace murmora::qt
