#pragma once
// The program's own pictures, drawn as SVG and kept in the resources.

#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace talver {

// `name` is a file of resources/ without its extension: "banner",
// "illustration" or "icon". Rendered sharp for the screen's pixel ratio.
QPixmap ArtworkPixmap(const QString& name, const QSize& size);

// The application icon in the sizes desktops ask for.
QIcon ApplicationIcon();

} // namespace talver
