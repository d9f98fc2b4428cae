// Draws the printer-card button images (pause, continue, stop) and the tree's update image into
// ui/resources/Image. Not part of the build; run it again after changing a drawing:
//   g++ -std=c++17 -fPIC network/ui/tools/make_printer_icons.cpp \
//       $(pkg-config --cflags --libs Qt5Gui) -o /tmp/make_printer_icons
//   QT_QPA_PLATFORM=offscreen /tmp/make_printer_icons ui/resources/Image
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>

namespace
{

const QColor kAccent(0x1e, 0x7f, 0xd8);
const QColor kStop(0xd9, 0x3b, 0x3b);

bool save(const QString &dir, const QString &name, int size,
          const std::function<void(QPainter &, qreal)> &draw)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, size / 48.0);
    p.end();
    return image.save(QDir(dir).filePath(name));
}

void disc(QPainter &p, qreal s, const QColor &c)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QRectF(2 * s, 2 * s, 44 * s, 44 * s));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_printer_icons OUTPUT_DIR\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    bool ok = true;
    for (const int size : {48, 96}) {
        const QString suffix = size == 96 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
        ok &= save(dir, "pausecolor" + suffix, size, [](QPainter &p, qreal s) {
            disc(p, s, kAccent);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(16 * s, 14 * s, 6 * s, 20 * s), 1.5 * s, 1.5 * s);
            p.drawRoundedRect(QRectF(26 * s, 14 * s, 6 * s, 20 * s), 1.5 * s, 1.5 * s);
        });
        ok &= save(dir, "printcolor" + suffix, size, [](QPainter &p, qreal s) {
            disc(p, s, kAccent);
            QPainterPath play;
            play.moveTo(19 * s, 14 * s);
            play.lineTo(34 * s, 24 * s);
            play.lineTo(19 * s, 34 * s);
            play.closeSubpath();
            p.setBrush(Qt::white);
            p.drawPath(play);
        });
        ok &= save(dir, "quitcolor" + suffix, size, [](QPainter &p, qreal s) {
            disc(p, s, kStop);
            p.setBrush(Qt::white);
            p.drawRoundedRect(QRectF(16 * s, 16 * s, 16 * s, 16 * s), 2 * s, 2 * s);
        });
        ok &= save(dir, "update" + suffix, size, [](QPainter &p, qreal s) {
            p.setPen(QPen(kAccent, 4 * s, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(10 * s, 10 * s, 28 * s, 28 * s), 60 * 16, 290 * 16);
            QPainterPath head;
            head.moveTo(31 * s, 6 * s);
            head.lineTo(36 * s, 15 * s);
            head.lineTo(26 * s, 16 * s);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(kAccent);
            p.drawPath(head);
        });
    }
    return ok ? 0 : 1;
}
