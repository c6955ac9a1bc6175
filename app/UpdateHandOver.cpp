#include "app/UpdateHandOver.h"

#include <QFile>
#include <QProcess>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

// Writes the bytes to `target` through a temporary file in the same folder,
// so a half-written updater never carries the real name.
bool writeExecutable(const fs::path& target, const QByteArray& bytes) {
    const fs::path scratch = fs::path(target).concat(".part");
    QFile file(QString::fromStdString(scratch.string()));
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
    file.close();
    written = written && file.error() == QFileDevice::NoError;
    std::error_code error;
    if (written) {
        fs::permissions(scratch,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec,
                        fs::perm_options::replace, error);
        if (!error) fs::rename(scratch, target, error);
    }
    if (!written || error) {
        fs::remove(scratch, error);
        return false;
    }
    return true;
}

}  // namespace

QByteArray carriedUpdater() {
    Q_INIT_RESOURCE(updater);
    QFile resource(QString(":/updater/") + kUpdaterFileName);
    return resource.open(QIODevice::ReadOnly) ? resource.readAll() : QByteArray();
}

bool handOverToUpdater(const AppSettings& settings, const std::string& executablePath, const QByteArray& updater,
                       const ProgramStarter& start) {
    if (updater.isEmpty()) return false;
    settings.write("Setting", "Path", fs::path(executablePath).generic_string());
    const fs::path target = fs::path(executablePath).parent_path() / kUpdaterFileName;
    if (!writeExecutable(target, updater)) return false;
    if (!start(target.string())) {
        std::error_code ignored;
        fs::remove(target, ignored);
        return false;
    }
    settings.write("Data", "UpDateLog", "true");
    return true;
}

bool startDetachedProgram(const std::string& path) { return QProcess::startDetached(QString::fromStdString(path), {}); }
