#include "picture_loading.h"

#include "control_factory.h"
#include "form_rules.h"

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <png.h>
#include <turbojpeg.h>

#include <cstddef>

namespace {

// The picture decoded straight into the layout of QImage::Format_RGB32 by
// libjpeg-turbo, the decoder Qt's own JPEG plugin uses, with the same
// settings, so the pixels are the plugin's to the bit; what it saves is
// finding, loading and starting the plugins before the window can be shown.
QImage decodeJpeg(const QByteArray &jpeg)
{
    tjhandle decoder = tjInitDecompress();
    if (!decoder)
        return {};
    const auto *data = reinterpret_cast<const unsigned char *>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    QImage image;
    if (tjDecompressHeader3(decoder, data, size, &width, &height, &subsampling, &colourSpace) == 0) {
        image = QImage(width, height, QImage::Format_RGB32);
        // Format_RGB32 is 0xffRRGGBB in the machine's byte order: BGRX in
        // memory on a little-endian machine, XRGB on a big-endian one.
        const int layout = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? TJPF_BGRX : TJPF_XRGB;
        if (image.isNull() || tjDecompress2(decoder, data, size, image.bits(), width,
                                            static_cast<int>(image.bytesPerLine()), height, layout, 0) != 0)
            image = QImage();
    }
    tjDestroy(decoder);
    return image;
}

// A PNG (the window's icon) decoded by libpng itself, into the layout of
// QImage::Format_ARGB32. Even told the format, Qt's reader would first start
// every image plugin it finds to ask whether the file is theirs.
QImage decodePng(const QByteArray &png)
{
    png_image header{};
    header.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&header, png.constData(), static_cast<std::size_t>(png.size())))
        return {};
    header.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(static_cast<int>(header.width), static_cast<int>(header.height), QImage::Format_ARGB32);
    if (image.isNull() || !png_image_finish_read(&header, nullptr, image.bits(),
                                                 static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        png_image_free(&header);
        return {};
    }
    return image;
}

// A picture neither decoder reads is left to Qt's plugins.
QPixmap loadPicture(const QString &path)
{
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray data = file.readAll();
        const QImage image = path.endsWith(QLatin1String(".png")) ? decodePng(data) : decodeJpeg(data);
        if (!image.isNull())
            return QPixmap::fromImage(image);
    }
    return QPixmap(path);
}

} // namespace

QPixmap pictureFor(const QString &path, double devicePixelRatio)
{
    if (wantsDoubleSize(devicePixelRatio)) {
        const QString doubleSize = toQString(doubleSizeName(path.toStdString()));
        if (QFile::exists(doubleSize)) {
            QPixmap picture = loadPicture(doubleSize);
            picture.setDevicePixelRatio(2);
            return picture;
        }
    }
    return loadPicture(path);
}
