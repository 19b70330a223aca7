#include "app/qt/Artwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: they must be registered by hand,
// outside any namespace (the macro declares the registration function).
static void RegisterArtwork()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(talver);
        return true;
    }();
    (void)registered;
}

namespace talver {

QPixmap ArtworkPixmap(const QString& name, const QSize& size)
{
    RegisterArtwork();
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pixmap(size * ratio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/artwork/%1.svg").arg(name));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(ArtworkPixmap(QStringLiteral("icon"), QSize(side, side)));
    }
    return icon;
}

} // namespace talver
