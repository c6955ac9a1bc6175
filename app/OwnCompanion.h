#pragma once
// A companion server (mivra-server) the program starts for itself: the
// demo catalogue, or a relay in front of a self-hosted API server, on a
// free loopback port. It is stopped when this object goes, and the system
// stops it when the program ends in any other way. Lives on the UI thread.
#include <QProcess>
#include <QStringList>

#include <memory>
#include <string>

class OwnCompanion {
public:
    // Starts the server with `arguments` (besides the port) and waits up to
    // `waitMs` for it to say where it listens. origin() is empty when no
    // server could be found or started.
    OwnCompanion(const std::string& programFolder, const QStringList& arguments, int waitMs = 8000);
    ~OwnCompanion();
    OwnCompanion(const OwnCompanion&) = delete;
    OwnCompanion& operator=(const OwnCompanion&) = delete;

    const std::string& origin() const { return origin_; }

    // mivra-server beside the program, else where the build tree keeps it
    // beside the program's folder; empty when neither exists.
    static std::string serverPath(const std::string& programFolder);

private:
    std::unique_ptr<QProcess> process_;
    std::string origin_;  // "http://127.0.0.1:<port>"
};
