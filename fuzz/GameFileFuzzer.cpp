// The game file as the stat crew's program might leave it, or anyone else
// might write it: loaded as the window and the service load it (the game, and
// the same bytes as a season file beside a sound game), then the situation,
// the scoreboard and the service's whole document built from it. Every JSON
// text the document holds must read back as JSON.
#include "ScratchFolder.h"

#include "gamedata/GameSession.h"
#include "gamedata/GameSituation.h"
#include "service/GameDocumentFromSession.h"

#include <QGuiApplication>
#include <QJsonDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace
{

const std::string kSamples = PYLONIX_SAMPLES_DIR;

struct Harness {
    ScratchFolder folder;
    const QDateTime updated = QDateTime::fromSecsSinceEpoch(1'700'000'000, Qt::UTC);
    GameDocument previous; // the sound game's document: every change is made from it
};

void requireJson(const QByteArray &text, const char *what)
{
    QJsonParseError error;
    QJsonDocument::fromJson(text, &error);
    if (error.error != QJsonParseError::NoError) {
        std::fprintf(stderr, "%s is no JSON: %s at %d\n", what,
                     error.errorString().toLocal8Bit().constData(), error.offset);
        std::abort();
    }
}

// Loads `files` into a fresh session, reads what the pages read and builds
// the document; every JSON text it gives must parse.
void loadAndBuild(const Harness &harness, const GameFiles &files, GameDocument *built = nullptr)
{
    GameSession session;
    const ReloadResult loaded = session.Reload(files);
    if (!loaded.gameOpened)
        return;
    const GameSituation situation =
        GameSituation::Read(session.game(), session.teams(), session.scoreboard());
    if (situation.line_score.home.size() != situation.line_score.periods.size() ||
        situation.line_score.visitor.size() != situation.line_score.periods.size()) {
        std::fprintf(stderr, "the line score's rows and headings differ in length\n");
        std::abort();
    }
    // A builder per input: its wrapped texts are kept from one document to
    // the next, which would make one input's result depend on the others.
    GameDocumentFromSession builder;
    GameDocument document;
    QString error;
    if (!builder.Build(session, files, loaded, 2, harness.updated, document, error)) {
        std::fprintf(stderr, "an opened game built no document: %s\n", qPrintable(error));
        std::abort();
    }
    requireJson(document.Json(), "the document");
    requireJson(document.SituationJson(), "the situation");
    // No change at all gives no message.
    if (const QByteArray change = document.ChangedMessage(harness.previous); !change.isEmpty())
        requireJson(change, "the change");
    if (built)
        *built = std::move(document);
}

Harness &harness()
{
    static Harness made;
    return made;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // The document measures texts in the window's fonts: a QGuiApplication,
    // without a display. It gets arguments of its own, so that it takes none
    // of the fuzzer's.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "pylonix-fuzz";
    static char *argv[] = {name, nullptr};
    static const QGuiApplication application(argc, argv);
    Harness &made = harness();
    loadAndBuild(made, {kSamples + "/small/game.xml", "", ""}, &made.previous);
    if (made.previous.members.empty()) {
        std::fprintf(stderr, "the sample game under %s did not load\n", kSamples.c_str());
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Harness &made = harness();
    const std::string path =
        made.folder.Write("game.xml", {reinterpret_cast<const char *>(data), size});
    loadAndBuild(made, {path, kSamples + "/small/season-home.xml", ""});
    loadAndBuild(made, {kSamples + "/small/game.xml", "", path});
    return 0;
}
