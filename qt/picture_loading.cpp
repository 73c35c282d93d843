#include "picture_loading.h"

#include "control_factory.h"
#include "form_rules.h"

#include <QFile>
#include <QPixmap>
#include <QString>

QPixmap pictureFor(const QString &path, double devicePixelRatio)
{
    if (wantsDoubleSize(devicePixelRatio)) {
        const QString doubleSize = toQString(doubleSizeName(path.toStdString()));
        if (QFile::exists(doubleSize)) {
            QPixmap picture(doubleSize);
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    return QPixmap(path);
}
