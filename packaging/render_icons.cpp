// Renders the die icon for the desktop at build time: PNGs in a hicolor icon-theme tree and a
// Windows .ico (rollbox.ico) holding the same sizes. It draws with the programs' own artwork code,
// on the offscreen platform, so it needs no display.
//
//   render_icons <output folder> <icon name>
#include "artwork.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QtEndian>

#include <cstdio>

namespace {

constexpr int themeSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int icoSizes[] = {16, 24, 32, 48, 64, 128, 256};

QByteArray pngBytes(int size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    dieImage(size).toImage().save(&buffer, "PNG");
    return bytes;
}

template <typename T> void append(QByteArray& out, T value) {
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

// An .ico file whose images are stored as PNG, as Windows has read them since Vista: a
// six-byte header, a sixteen-byte entry per image, then the images.
QByteArray icoBytes() {
    QList<QByteArray> images;
    for (int size : icoSizes)
        images.append(pngBytes(size));

    QByteArray out;
    append<quint16>(out, 0); // reserved
    append<quint16>(out, 1); // icon
    append<quint16>(out, static_cast<quint16>(images.size()));
    quint32 offset = 6 + 16 * static_cast<quint32>(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const int size = icoSizes[i];
        const auto side = static_cast<quint8>(size >= 256 ? 0 : size); // 0 stands for 256
        append<quint8>(out, side);
        append<quint8>(out, side);
        append<quint8>(out, 0);   // no palette
        append<quint8>(out, 0);   // reserved
        append<quint16>(out, 1);  // colour planes
        append<quint16>(out, 32); // bits per pixel
        append<quint32>(out, static_cast<quint32>(images[i].size()));
        append<quint32>(out, offset);
        offset += static_cast<quint32>(images[i].size());
    }
    for (const QByteArray& image : images)
        out.append(image);
    return out;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        std::fprintf(stderr, "render_icons: %s: %s\n", qPrintable(path),
                     qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: render_icons <output folder> <icon name>\n");
        return 2;
    }
    const QDir out(args.at(1));
    const QString name = args.at(2);

    bool ok = true;
    for (int size : themeSizes) {
        const QString path =
            out.filePath(QStringLiteral("hicolor/%1x%1/apps/%2.png").arg(size).arg(name));
        ok = writeFile(path, pngBytes(size)) && ok;
    }
    ok = writeFile(out.filePath(QStringLiteral("rollbox.ico")), icoBytes()) && ok;
    return ok ? 0 : 1;
}
