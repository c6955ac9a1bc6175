#include "app/OwnCompanion.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <sys/prctl.h>
#include <csignal>

namespace {

// The server's start line ends with its service base: "... at http://h:p/".
std::string originOfStartLine(const QByteArray& output) {
    const qsizetype at = output.indexOf(" at http://");
    if (at < 0) return {};
    const qsizetype start = at + 4;
    const qsizetype end = output.indexOf('\n', start);
    if (end < 0) return {};
    std::string base = output.mid(start, end - start).trimmed().toStdString();
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

}  // namespace

std::string OwnCompanion::serverPath(const std::string& programFolder) {
    for (const std::string& candidate : {programFolder + "/mivra-server", programFolder + "/../server/mivra-server"}) {
        const QFileInfo file(QString::fromStdString(candidate));
        if (file.isFile() && file.isExecutable()) return file.absoluteFilePath().toStdString();
    }
    return {};
}

OwnCompanion::OwnCompanion(const std::string& programFolder, const QStringList& arguments, int waitMs) {
    const std::string server = serverPath(programFolder);
    if (server.empty()) return;
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardErrorFile(QProcess::nullDevice());
    // The server goes with the program, however the program ends.
    process_->setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_->start(QString::fromStdString(server), QStringList{"--port", "0"} + arguments);
    const QDeadlineTimer deadline(waitMs);
    QByteArray output;
    while (origin_.empty() && !deadline.hasExpired() && process_->state() != QProcess::NotRunning) {
        if (process_->waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            output += process_->readAllStandardOutput();
        origin_ = originOfStartLine(output);
    }
}

OwnCompanion::~OwnCompanion() {
    if (!process_ || process_->state() == QProcess::NotRunning) return;
    process_->terminate();
    if (!process_->waitForFinished(3000)) process_->kill();
}
