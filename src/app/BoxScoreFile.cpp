#include "BoxScoreFile.h"

#include "CommandLine.h"
#include "boxscore/BoxScoreWriter.h"
#include "platform/Fonts.h"
#include "platform/PosixFile.h"
#include "views/BoxScoreContent.h"
#include "views/TextWrapper.h"

#include <QSaveFile>
#include <cstdio>
#include <new>

int WriteBoxScoreFile(const CommandLine &line)
{
    const ExportRequest &request = line.request;
    const QByteArray path = line.boxScoreFile.toLocal8Bit();
    for (const std::string *read :
         {&request.gameFile, &request.homeSeasonFile, &request.visitorSeasonFile}) {
        if (!read->empty() && IsSameFile(path.constData(), read->c_str())) {
            std::fprintf(stderr, "pylonix: --box-score %s would write over %s\n", path.constData(),
                         read->c_str());
            return 1;
        }
    }
    BoxScoreContent content;
    try {
        GameSession session;
        const ReloadResult loaded = session.Reload(GameExport::FilesOf(request));
        if (QString error; !GameExport::LoadedWhole(loaded, error)) {
            std::fprintf(stderr, "pylonix: %s\n", qPrintable(error));
            return 2;
        }
        // Texts measured in the window's table font, as the export measures them.
        content = BoxScoreContent::Build(session, request.view.showTop, TextWrapper(DialogFont()));
    } catch (const std::bad_alloc &) {
        std::fprintf(stderr, "pylonix: %s: not enough memory to load the game\n",
                     request.gameFile.c_str());
        return 2;
    }
    // Written aside and renamed into place: a failed write leaves no
    // half a document under the name.
    QSaveFile file(line.boxScoreFile);
    if (!file.open(QIODevice::WriteOnly) || !BoxScoreWriter::WritePdf(content, line.paper, file) ||
        !file.commit()) {
        std::fprintf(stderr, "pylonix: cannot write the box score %s: %s\n", path.constData(),
                     qPrintable(file.errorString()));
        return 3;
    }
    return 0;
}
