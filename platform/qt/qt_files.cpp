#include "platform/qt/qt_files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <QCoreApplication>
#include <QFile>

#include "core/paths.h"
#include "platform/posix/partial_file.h"

namespace murmora::qt {
using posix::lastSystemError;

namespace {

bool isHiddenName(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() || name.front() == '.';
}

std::string withoutClosingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string passwordDatabaseHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(size > 0 ? size : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found || !found->pw_dir)
        return {};
    return found->pw_dir;
}

} // namespace

bool QtFiles::fileExists(const std::string& path) const {
    struct stat info {};
    return !isHiddenName(path) && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool QtFiles::folderExists(const std::string& path) const { return isFolder(path); }

std::error_code QtFiles::removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? std::error_code() : lastSystemError();
}

std::string QtFiles::programFolder() const { return encoded(QCoreApplication::applicationDirPath()); }

std::string QtFiles::libraryFolder() const {
    const std::string program = programFolder();
    const bool installed = program == "/bin" || program.ends_with("/bin");
    return pathInFolder(installed ? folderOf(program) : program, MURMORA_LIBRARY_FOLDER);
}

std::string userHomeFolder(const std::string& lastResort) {
    const char* fromEnvironment = std::getenv("HOME");
    const std::string candidates[] = {fromEnvironment ? fromEnvironment : "", passwordDatabaseHome(), lastResort};
    for (const std::string& candidate : candidates) {
        const std::string folder = withoutClosingSlash(candidate);
        if (folder.size() > 1 && folder.front() == '/' && isFolder(folder)) return folder;
    }
    return {};
}

std::string QtFiles::homeFolder() const { return userHomeFolder(); }

std::string QtFiles::tempFolder() const {
    const char* fromEnvironment = std::getenv("TMPDIR");
    const std::string folder = withoutClosingSlash(fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp");
    return folderExists(folder) ? folder : std::string();
}

Result<std::string> QtFiles::createUniqueFile(const std::string& folder, const std::string& prefix) {
    // mkstemps opens with O_CREAT | O_EXCL, which fails on any existing name, a link included.
    const std::string suffix = ".tmp";
    std::string name = withoutClosingSlash(folder) + "/" + prefix + "XXXXXX" + suffix;
    const int fd = ::mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) return lastSystemError();
    ::close(fd);
    return name;
}

std::error_code QtFiles::writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return lastSystemError();
    const std::error_code written = posix::writeAll(fd, bytes.data(), bytes.size());
    const std::error_code closed = ::close(fd) == 0 ? std::error_code() : lastSystemError();
    return written ? written : closed;
}

} // namespace murmora::qt
