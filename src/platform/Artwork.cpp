#include "platform/Artwork.h"

#include <QString>
#include <array>
#include <map>
#include <utility>

namespace
{

// Resource number -> file under the ":/artwork" prefix.
constexpr std::array<std::pair<int, const char *>, 17> kBitmaps{{
    {128, "icon-32"},
    {131, "title"},
    {132, "button-overview"},
    {133, "button-kicking"},
    {134, "button-defense"},
    {135, "button-drive-charts"},
    {136, "button-offense"},
    {137, "button-play-by-play"},
    {138, "button-scoring"},
    {139, "button-configure"},
    {141, "digits-small"},
    {142, "digits-large"},
    {143, "scoreboard-live"},
    {144, "possession"},
    {146, "legend-statistics"},
    {152, "scoreboard-final"},
    {153, "legend-result-codes"},
}};

constexpr std::array<int, 6> kIconSizes{16, 32, 48, 64, 128, 256};

// Every bitmap decoded once, at its own size (suffix "") or twice it
// ("@2x", where the program has one): the header is painted on every reload,
// and QImage copies share their pixels.
std::map<int, QImage> DecodeBitmaps(const char *suffix)
{
    std::map<int, QImage> decoded;
    for (const auto &[id, name] : kBitmaps) {
        const QImage image(
            QStringLiteral(":/artwork/%1%2.png").arg(QLatin1String(name), QLatin1String(suffix)));
        if (image.isNull())
            continue;
        QImage bitmap = id == 128 ? image : image.convertToFormat(QImage::Format_RGB32);
        // The reader takes "@2x" in a file name for a ratio of 2; these are
        // plain pixels until a caller says otherwise.
        bitmap.setDevicePixelRatio(1);
        decoded.emplace(id, std::move(bitmap));
    }
    return decoded;
}

QImage Find(const std::map<int, QImage> &bitmaps, int id)
{
    const auto found = bitmaps.find(id);
    return found == bitmaps.end() ? QImage() : found->second;
}

} // namespace

QImage LoadBitmapResource(int id)
{
    static const std::map<int, QImage> bitmaps = DecodeBitmaps("");
    return Find(bitmaps, id);
}

QImage LoadDoubleSizeBitmapResource(int id)
{
    static const std::map<int, QImage> bitmaps = DecodeBitmaps("@2x");
    return Find(bitmaps, id);
}

QImage LoadBitmapResourceForRatio(int id, qreal ratio)
{
    static const std::map<int, QImage> bitmaps = [] {
        std::map<int, QImage> doubled = DecodeBitmaps("@2x");
        for (auto &[id, image] : doubled)
            image.setDevicePixelRatio(2);
        return doubled;
    }();
    if (ratio >= 2) {
        if (QImage image = Find(bitmaps, id); !image.isNull())
            return image;
    }
    return LoadBitmapResource(id);
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : kIconSizes)
        icon.addFile(QStringLiteral(":/artwork/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}
