// The files the program reads its settings and secrets from: the settings
// file (read, then written with the program's own values and read back),
// the broker's password file, and each line as the value of a serving or
// broker option. Settings written into any file must read back as written,
// leave other sections alone, and an accepted topic prefix must make topics
// the broker's own library accepts.
#include "ScratchFolder.h"

#include "app/Settings.h"
#include "platform/IniFile.h"
#include "service/MqttSettings.h"
#include "service/ServeSettings.h"

#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mosquitto.h>

namespace
{

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

// The program's own values, as Configure and the window leave them.
Settings ownValues(const Settings &read)
{
    Settings own;
    own.gameFile = "/games/week 3/game.xml";
    own.homeFile = "/games/week 3/home.xml";
    own.visitorFile = "";
    own.defaultTeamFiles = !read.defaultTeamFiles;
    own.showTOP = !read.showTOP;
    own.window = WindowPlacement{-20, 40, 1024, 720};
    own.playColumnWidth = 300;
    own.driveTextHeight = read.driveTextHeight ? std::nullopt : std::optional<int>(120);
    // Nothing in the program sets the teams' colours: writing keeps the file's.
    own.homeColor = read.homeColor;
    own.visitorColor = read.visitorColor;
    return own;
}

void writeSettings(const ScratchFolder &folder, std::string_view bytes)
{
    const std::string path = folder.Write("Pylonix.ini", bytes);
    std::string problem;
    const Settings read = Settings::Read(path, problem);
    const std::string kept = IniFile(path).GetString("Fuzz", "Kept", "none");

    const Settings own = ownValues(read);
    std::string error;
    if (!own.Write(path, error))
        return; // a file that could not be read is not written over
    Settings again = Settings::Read(path, problem);
    // A value not written keeps what the file had.
    if (!own.driveTextHeight && again.driveTextHeight == read.driveTextHeight)
        again.driveTextHeight.reset();
    if (!(again == own))
        fail("settings written into a file read back differently");
    if (IniFile(path).GetString("Fuzz", "Kept", "none") != kept)
        fail("writing the settings changed another section");
}

void readPassword(const ScratchFolder &folder, std::string_view bytes)
{
    const std::string path = folder.Write("password", bytes);
    QByteArray password;
    QString error;
    if (!MqttSettings::ReadPasswordFile(QString::fromStdString(path), password, error))
        return;
    if (password.isEmpty() || password.contains('\n') ||
        !QByteArrayView(bytes).startsWith(password))
        fail("the password is not the file's first line");
}

// `value` given to each option that takes a text.
void optionValue(const QString &value)
{
    ServeSettings serve;
    QString error;
    if (ServeSettings::ParseAddress(value, serve, error) && serve.port == 0)
        fail("--serve accepted an address without a port");
    serve.AddNames(value, error);
    serve.AddOrigins(value, error);
    QString host;
    std::optional<quint16> port;
    ServeSettings::SplitHostPort(value, host, port);

    if (!MqttSettings::TopicProblem(value).isEmpty())
        return;
    for (const char *level : {"/snapshot", "/changes"}) {
        const QByteArray topic = (value + level).toUtf8();
        if (mosquitto_pub_topic_check2(topic.constData(), topic.size()) != MOSQ_ERR_SUCCESS ||
            mosquitto_validate_utf8(topic.constData(), static_cast<int>(topic.size())) !=
                MOSQ_ERR_SUCCESS)
            fail("an accepted topic prefix makes a topic the broker's library refuses");
    }
}

const ScratchFolder &folder()
{
    static const ScratchFolder made;
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    writeSettings(folder(), bytes);
    readPassword(folder(), bytes);
    for (const QByteArray &line :
         QByteArray(bytes.data(), static_cast<qsizetype>(size)).split('\n'))
        optionValue(QString::fromUtf8(line));
    return 0;
}
