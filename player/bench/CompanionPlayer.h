#pragma once
// The real player in this process against the companion server, whose demo
// files are made before it starts: the player benches time the player, not
// the making of demo files.
#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "base/AppSettings.h"
#include "maintenance/MaintenanceRequests.h"
#include "net/HttpClient.h"
#include "player/Player.h"
#include "server/DemoServer.h"
#include "server/media/MediaLibrary.h"

#include <QTemporaryDir>
#include <memory>

class CompanionPlayer {
public:
    // Null when the companion cannot start.
    static std::unique_ptr<CompanionPlayer> start(const ServerOptions& options) {
        HttpClient::globalInit();
        auto server = std::make_unique<DemoServer>(options);
        if (!server->start()) return nullptr;
        server->media().prepareAll();
        return std::unique_ptr<CompanionPlayer>(new CompanionPlayer(std::move(server)));
    }

    Player& player() { return player_; }
    AudioEngine& engine() { return *engine_; }
    DemoServer& server() { return *server_; }

private:
    explicit CompanionPlayer(std::unique_ptr<DemoServer> server)
        : server_(std::move(server)),
          hosts_(ServiceHosts::allAt(server_->origin())),
          api_(hosts_),
          engine_(initialised()),
          player_(api_, *engine_, MaintenanceRequests(hosts_).fetchServiceCookie(),
                  AppSettings(folder_.filePath("config.ini").toStdString())) {}

    static std::unique_ptr<AudioEngine> initialised() {
        auto engine = std::make_unique<AudioEngine>();
        engine->init(0);
        return engine;
    }

    std::unique_ptr<DemoServer> server_;
    ServiceHosts hosts_;
    CloudApiClient api_;
    std::unique_ptr<AudioEngine> engine_;
    QTemporaryDir folder_;
    Player player_;
};
