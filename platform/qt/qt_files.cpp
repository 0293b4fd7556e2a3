#include "platform/qt/qt_files.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace murmora {

namespace {

bool IsHiddenName(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return name.empty() || name.front() == '.';
}

std::string WithoutClosingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string Encoded(const QString& path) { return QFile::encodeName(path).toStdString(); }

// Writes all of `bytes`, going on after partial writes and interruptions; 0 or an errno.
int WriteAll(int fd, const std::vector<unsigned char>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

bool QtFiles::FileExists(const std::string& path) const {
    struct stat info{};
    return !IsHiddenName(path) && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool QtFiles::FolderExists(const std::string& path) const {
    struct stat info{};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool QtFiles::RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

bool QtFiles::MoveFile(const std::string& from, const std::string& to) {
    // A new link never replaces an existing file; across file systems, a copy.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str());
        return true;
    }
    if (errno == EEXIST) return false;
    const QString source = QFile::decodeName(from.c_str());
    if (!QFile::copy(source, QFile::decodeName(to.c_str()))) return false;
    QFile::remove(source);  // should it stay, it is only found again: the copy is in place
    return true;
}

std::string QtFiles::ProgramFolder() const { return Encoded(QCoreApplication::applicationDirPath()); }

std::string QtFiles::HomeFolder() const { return WithoutClosingSlash(Encoded(QDir::homePath())); }

std::string QtFiles::TempFolder() const {
    const char* fromEnvironment = std::getenv("TMPDIR");
    const std::string folder =
        WithoutClosingSlash(fromEnvironment && *fromEnvironment ? fromEnvironment : "/tmp");
    return FolderExists(folder) ? folder : std::string();
}

std::optional<std::string> QtFiles::CreateUniqueFile(const std::string& folder, const std::string& prefix) {
    // mkstemps opens with O_CREAT | O_EXCL, which fails on any existing name, a link included.
    const std::string suffix = ".tmp";
    std::string name = WithoutClosingSlash(folder) + "/" + prefix + "XXXXXX" + suffix;
    const int fd = ::mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    ::close(fd);
    return name;
}

int QtFiles::WriteBinary(const std::string& path, const std::vector<unsigned char>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    const int written = WriteAll(fd, bytes);
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return written != 0 ? written : closed;
}

} // namespace murmora
