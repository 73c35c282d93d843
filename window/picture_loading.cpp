#include "picture_loading.h"

#include <QFile>
#include <QPixmap>
#include <QString>

QPixmap pictureFor(const QString &path, double devicePixelRatio)
{
    if (devicePixelRatio >= 1.5) {
        const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
        const QString doubleSize = path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
        if (dot > 0 && QFile::exists(doubleSize)) {
            QPixmap picture(doubleSize);
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    return QPixmap(path);
}
