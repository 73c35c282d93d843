#pragma once

class QPixmap;
class QString;

// The picture at `path` for a screen of the given device pixel ratio: on a
// high-density screen its double-size variant NAME@2x.jpg beside it, where
// there is one, so the picture stays sharp. QPixmap alone always loads the
// 96-dpi file and scales it up. JPEG and PNG files are decoded by
// libjpeg-turbo and libpng themselves, with no image plugin to start.
QPixmap pictureFor(const QString &path, double devicePixelRatio);
