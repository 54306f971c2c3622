#pragma once

#include "BoxScorePaper.h"

#include <QByteArray>

class QIODevice;
class QPagedPaintDevice;
struct BoxScoreContent;

// Draws a box score on paper: as a PDF file, or on any paged device (a
// printer). The faces are embedded in a PDF.
class BoxScoreWriter
{
public:
    // Draws `content` on `device` page after page, the sheet's whole size
    // taken as the page (the layout keeps its own margins). False when the
    // device cannot be painted on.
    static bool Paint(const BoxScoreContent &content, QPagedPaintDevice &device);

    // Writes `content` as a PDF document on `paper` into `out`, which is open
    // for writing; false when it cannot be written.
    static bool WritePdf(const BoxScoreContent &content, BoxScorePaper paper, QIODevice &out);

    // The PDF document of `content` on `paper`; empty when it cannot be made.
    static QByteArray Pdf(const BoxScoreContent &content, BoxScorePaper paper);
};
