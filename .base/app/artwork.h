#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

// The program's pictures, drawn in code so that no image files need shipping.
namespace Artwork {

// The toolbar strip: nine 16 x 15 images (new, open, save, cut, copy, paste, print,
// about, context help).
QList<QIcon> toolbarImages();
// The About box picture, 413 x 235.
QPixmap aboutPicture();
QIcon applicationIcon();

} // namespace Artwork
