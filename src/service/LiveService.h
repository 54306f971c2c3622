#pragma once

#include "GameDocumentFromSession.h"
#include "GameService.h"
#include "MqttPublisher.h"
#include "ServeSettings.h"
#include "boxscore/BoxScorePaper.h"
#include "views/ViewOptions.h"

#include <QDateTime>
#include <QObject>
#include <memory>
#include <optional>

class LiveGame;

// Where the live game is handed out: the web service, the MQTT broker, or
// both.
struct LiveServiceOptions {
    std::optional<ServeSettings> serve; // empty: no web service
    MqttSettings mqtt;    // host empty: no MQTT; prefix empty: DefaultPrefix of the game id
    ViewOptions document; // what the document shows of the game (filters, widths)
    BoxScorePaper paper = BoxScorePaper::Letter; // of /boxscore.pdf
};

// Follows a LiveGame and hands out each state it loads: after every
// successful reload, a GameDocument of the session the game holds (nothing
// is read again) is published to the web service and the MQTT broker. The
// document is built from the event loop once the reload's other handlers
// (the window's refresh) have run, and publishing never waits for a client.
class LiveService : public QObject
{
    Q_OBJECT
public:
    LiveService(LiveGame &game, LiveServiceOptions options, QObject *parent = nullptr);
    ~LiveService() override;

    // Starts listening and follows the game; false with `error` when the
    // service may not or cannot listen. An MQTT client that cannot be made
    // is reported on stderr and leaves the web service running.
    bool Start(QString &error);

    // The web service; null without one.
    GameService *service() const { return service_.get(); }

private:
    void onReloaded();
    void publishLatest();
    // The box score's PDF of the game as the latest reload left it.
    QByteArray boxScorePdf() const;

    LiveGame &game_;
    LiveServiceOptions options_;
    GameDocumentFromSession producer_;
    std::unique_ptr<GameService> service_;
    std::unique_ptr<MqttPublisher> mqtt_; // made with the first document's game id
    int reloads_ = 0;                     // successful reloads so far
    QDateTime lastReload_;
    bool publishPending_ = false;
};
