#pragma once

#include "GameExport.h"

#include <QString>
#include <QStringList>

// The program's command line: show the viewer, or export a game headlessly.
struct CommandLine {
    enum class Action { ShowViewer, Export, Help, Version };

    Action action = Action::ShowViewer;
    ExportRequest request;

    // Reads the arguments (the program name first). Returns false with a
    // one-line `error` when they are not understood.
    bool Parse(const QStringList &arguments, QString &error);

    // The text --help prints.
    static QString HelpText();
};
