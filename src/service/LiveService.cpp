#include "LiveService.h"

#include "GameDocumentFromSession.h"
#include "boxscore/BoxScoreWriter.h"
#include "live/LiveGame.h"
#include "platform/Fonts.h"
#include "platform/LargeBlocks.h"
#include "views/BoxScoreContent.h"

#include <QTimer>
#include <cstdio>

LiveService::LiveService(LiveGame &game, LiveServiceOptions options, QObject *parent)
    : QObject(parent), game_(game), options_(std::move(options)), producer_(options_.document)
{
}

LiveService::~LiveService() = default;

bool LiveService::Start(QString &error)
{
    if (options_.serve) {
        // Every client that connects is queued a whole snapshot.
        ReturnLargeBlocksWhenFreed();
        service_ = std::make_unique<GameService>();
        if (!service_->Listen(*options_.serve, error))
            return false;
        service_->SetBoxScoreMaker([this] { return boxScorePdf(); });
    }
    connect(&game_, &LiveGame::reloaded, this, &LiveService::onReloaded);
    // A game loaded before the start is the first state handed out.
    if (game_.lastResult().gameOpened)
        onReloaded();
    return true;
}

void LiveService::onReloaded()
{
    ++reloads_;
    lastReload_ = QDateTime::currentDateTimeUtc();
    if (publishPending_)
        return;
    publishPending_ = true;
    QTimer::singleShot(0, this, &LiveService::publishLatest);
}

void LiveService::publishLatest()
{
    publishPending_ = false;
    const ReloadResult &loaded = game_.lastResult();
    // A load that failed after the one announced keeps the session as it
    // was, and the document served already shows it.
    if (!loaded.gameOpened)
        return;
    GameDocument document;
    QString error;
    if (!producer_.Build(game_.session(), game_.files(), loaded, reloads_, lastReload_, document,
                         error)) {
        std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
        return;
    }
    if (!options_.mqttHost.isEmpty() && !mqtt_) {
        const QString prefix = options_.mqttTopic.isEmpty()
                                   ? MqttPublisher::DefaultPrefix(document.gameId)
                                   : options_.mqttTopic;
        auto publisher =
            std::make_unique<MqttPublisher>(options_.mqttHost, options_.mqttPort, prefix);
        if (QString mqttError; !publisher->Start(mqttError))
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(mqttError));
        else
            mqtt_ = std::move(publisher);
    }
    if (mqtt_)
        mqtt_->Publish(document);
    if (service_)
        service_->Publish(std::move(document));
}

QByteArray LiveService::boxScorePdf() const
{
    // Texts measured in the window's table font, as the document's are.
    const BoxScoreContent content = BoxScoreContent::Build(
        game_.session(), options_.document.showTop, TextWrapper(DialogFont()));
    return BoxScoreWriter::Pdf(content, options_.paper);
}
