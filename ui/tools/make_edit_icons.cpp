// Draws the scale and rotate panels' small images (lock, unlock, refresh) into ui/resources.
// Not part of the build; run it again after changing a drawing:
//   g++ -std=c++17 -fPIC ui/tools/make_edit_icons.cpp $(pkg-config --cflags --libs Qt5Gui) \
//     -o /tmp/make_edit_icons && QT_QPA_PLATFORM=offscreen /tmp/make_edit_icons ui/resources
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace
{

const QColor kInk(0x55, 0x5b, 0x66);

QImage canvas()
{
    QImage img(24, 24, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

void drawLock(QPainter &p, bool open)
{
    p.setPen(QPen(kInk, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    const qreal shift = open ? -5.0 : 0.0;
    shackle.moveTo(8 + shift, 11);
    shackle.lineTo(8 + shift, 7);
    shackle.arcTo(QRectF(8 + shift, 2, 8, 9), 180, -180);
    shackle.lineTo(16 + shift, open ? 8 : 11);
    p.drawPath(shackle);
    p.setBrush(kInk);
    p.drawRoundedRect(QRectF(5, 11, 14, 10), 2, 2);
}

void drawRefresh(QPainter &p)
{
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({{13, 1}, {19, 5}, {13, 9}}));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <resources folder>\n", argv[0]);
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + "/Image/";
    bool ok = true;
    for (int i = 0; i < 3; ++i) {
        QImage img = canvas();
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        if (i == 2)
            drawRefresh(p);
        else
            drawLock(p, i == 1);
        p.end();
        const char *names[] = {"lock.png", "unlock.png", "refresh.png"};
        ok = img.save(dir + names[i], "PNG") && ok;
    }
    return ok ? 0 : 1;
}
