#include "DevToolsPage.h"

#include "ServiceTestClient.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>

DevToolsPage::DevToolsPage(const QString &chromium, const QString &url, int width, int height,
                           bool mobile)
{
    // Opened blank, so that the viewport is set before the page lays out.
    browser_.start(chromium,
                   {"--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                    "--no-first-run", "--disable-background-networking",
                    "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                    "--remote-debugging-port=0", "--user-data-dir=" + profile_.path(),
                    QString("--window-size=%1,%2").arg(width).arg(height), "about:blank"});
    QFile portFile(profile_.filePath("DevToolsActivePort"));
    if (!QTest::qWaitFor([&] { return portFile.size() > 0; }, 30000))
        return;
    portFile.open(QIODevice::ReadOnly);
    const quint16 port = QString::fromUtf8(portFile.readLine()).trimmed().toUShort();
    QJsonArray targets;
    (void)QTest::qWaitFor(
        [&] {
            targets = QJsonDocument::fromJson(Request(port, "/json/list").body).array();
            return !targets.isEmpty();
        },
        10000);
    for (const QJsonValue target : targets) {
        if (target["type"].toString() == "page") {
            devTools_.open(QUrl(target["webSocketDebuggerUrl"].toString()));
            break;
        }
    }
    QObject::connect(&devTools_, &QWebSocket::textMessageReceived, [this](const QString &text) {
        const QJsonObject reply = QJsonDocument::fromJson(text.toUtf8()).object();
        if (reply.contains("id"))
            replies_[reply["id"].toInt()] = reply;
    });
    if (!QTest::qWaitFor([&] { return devTools_.isValid(); }, 10000))
        return;
    SetViewport(width, height, mobile);
    Call("Page.navigate", {{"url", url}});
}

DevToolsPage::~DevToolsPage()
{
    devTools_.close();
    browser_.terminate();
    if (!browser_.waitForFinished(5000)) {
        browser_.kill();
        browser_.waitForFinished();
    }
}

bool DevToolsPage::IsOpen() const
{
    return devTools_.isValid();
}

QJsonObject DevToolsPage::Call(const QString &method, const QJsonObject &params)
{
    const int call = ++calls_;
    const QJsonObject request{{"id", call}, {"method", method}, {"params", params}};
    devTools_.sendTextMessage(QJsonDocument(request).toJson(QJsonDocument::Compact));
    (void)QTest::qWaitFor([&] { return replies_.contains(call); }, 10000);
    return replies_.take(call)["result"].toObject();
}

QJsonValue DevToolsPage::Evaluate(const QString &expression)
{
    const QJsonObject result =
        Call("Runtime.evaluate", {{"expression", expression}, {"returnByValue", true}});
    return result["result"].toObject()["value"];
}

QString DevToolsPage::Text(const QString &id)
{
    return Evaluate(QString("(document.getElementById('%1') || {}).textContent").arg(id))
        .toString();
}

bool DevToolsPage::WaitFor(const QString &id, const QString &text)
{
    return QTest::qWaitFor([&] { return Text(id) == text; }, 20000);
}

bool DevToolsPage::WaitUntil(const QString &expression, int timeoutMs)
{
    return QTest::qWaitFor([&] { return Evaluate("!!(" + expression + ")").toBool(); }, timeoutMs);
}

void DevToolsPage::SetViewport(int width, int height, bool mobile)
{
    Call("Emulation.setDeviceMetricsOverride", {{"width", width},
                                                {"height", height},
                                                {"deviceScaleFactor", mobile ? 3 : 1},
                                                {"mobile", mobile}});
    Call("Emulation.setTouchEmulationEnabled", {{"enabled", mobile}});
}

QString DevToolsPage::FindChromium()
{
    return QStandardPaths::findExecutable("chromium");
}
