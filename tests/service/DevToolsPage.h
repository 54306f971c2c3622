#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>

// One page in headless Chromium, driven through the DevTools protocol: the
// pages' tests read what the browser shows and how it lays it out, while the
// service answers the browser from the test's own event loop.
class DevToolsPage
{
public:
    // Starts Chromium on `url` in a fresh profile, the window `width` x
    // `height` CSS pixels (emulated as a phone, touch and all, when `mobile`).
    DevToolsPage(const QString &chromium, const QString &url, int width = 1920, int height = 1080,
                 bool mobile = false);
    ~DevToolsPage();
    DevToolsPage(const DevToolsPage &) = delete;
    DevToolsPage &operator=(const DevToolsPage &) = delete;

    // True once the protocol's connection is open.
    bool IsOpen() const;

    // Sends one protocol command and waits for its answer's "result" (an
    // empty object when none came within ten seconds).
    QJsonObject Call(const QString &method, const QJsonObject &params = {});

    // The value of the JavaScript `expression` in the page (by value; an
    // undefined value reads as null).
    QJsonValue Evaluate(const QString &expression);

    // The text of the element `id` as the page shows it now.
    QString Text(const QString &id);

    // Waits until the element `id` shows `text`; true when it does.
    bool WaitFor(const QString &id, const QString &text);

    // Waits until `expression` is true in the page; true when it is.
    bool WaitUntil(const QString &expression, int timeoutMs = 20000);

    // Sets the viewport as the constructor does.
    void SetViewport(int width, int height, bool mobile);

    // The Chromium found on the path, or an empty text.
    static QString FindChromium();

private:
    QTemporaryDir profile_;
    QProcess browser_;
    QWebSocket devTools_;
    QMap<int, QJsonObject> replies_;
    int calls_ = 0;
};
