// pylonix-artwork: draws every bitmap of the program and writes them as PNG
// files, which the build compiles into the program. Run it after changing a
// drawing and commit the files it writes.
//
//   pylonix-artwork OUTPUT-FOLDER [--preview FILE.png [ZOOM [NAME...]]]
//
// --preview also writes the bitmaps (all, or those named) on one sheet,
// enlarged ZOOM times (default 4), for looking at them closely.

#include "ArtworkPieces.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <iostream>

using namespace pylonix::artwork;

namespace
{

bool WritePreview(const std::vector<ArtworkFile> &files, const QString &path, int zoom)
{
    const int kWidth = 1800;
    int x = 0, y = 0, rowHeight = 0;
    std::vector<QPoint> places;
    for (const ArtworkFile &file : files) {
        const QSize size = file.image.size() * zoom;
        if (x + size.width() > kWidth) {
            x = 0;
            y += rowHeight + 8;
            rowHeight = 0;
        }
        places.push_back(QPoint(x, y));
        x += size.width() + 8;
        rowHeight = std::max(rowHeight, size.height());
    }
    QImage sheet(kWidth, y + rowHeight, QImage::Format_RGB32);
    sheet.fill(QColor(212, 208, 200));
    QPainter painter(&sheet);
    for (std::size_t i = 0; i < files.size(); ++i)
        painter.drawImage(QRect(places[i], files[i].image.size() * zoom), files[i].image);
    painter.end();
    return sheet.save(path);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() < 2 || (arguments.size() > 2 && arguments[2] != "--preview") ||
        arguments.size() == 3) {
        std::cerr << "usage: pylonix-artwork OUTPUT-FOLDER [--preview FILE.png [ZOOM [NAME...]]]\n";
        return 2;
    }
    const QDir folder(arguments[1]);
    if (!folder.exists() && !QDir().mkpath(folder.path())) {
        std::cerr << "pylonix-artwork: cannot create " << folder.path().toStdString() << '\n';
        return 1;
    }
    const std::vector<ArtworkFile> files = AllArtwork();
    for (const ArtworkFile &file : files) {
        const QString path = folder.filePath(file.name + QStringLiteral(".png"));
        if (!file.image.save(path)) {
            std::cerr << "pylonix-artwork: cannot write " << path.toStdString() << '\n';
            return 1;
        }
    }
    if (arguments.size() < 4)
        return 0;
    const int zoom = arguments.size() > 4 ? std::max(1, arguments[4].toInt()) : 4;
    std::vector<ArtworkFile> shown;
    for (const ArtworkFile &file : files)
        if (arguments.size() <= 5 || arguments.mid(5).contains(file.name))
            shown.push_back(file);
    if (!WritePreview(shown, arguments[3], zoom)) {
        std::cerr << "pylonix-artwork: cannot write " << arguments[3].toStdString() << '\n';
        return 1;
    }
    return 0;
}
