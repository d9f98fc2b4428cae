// Draws the tool-strip and title-bar images of the main window into ui/resources.
// Not part of the build; run it again after changing a drawing:
//   g++ -std=c++17 -fPIC ui/tools/make_icons.cpp $(pkg-config --cflags --libs Qt5Gui) -o
//   /tmp/make_icons QT_QPA_PLATFORM=offscreen /tmp/make_icons ui/resources
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace
{

const QColor kNormal(0x55, 0x5b, 0x66);
const QColor kActive(0x1e, 0x7f, 0xd8);
constexpr int kSize = 48;

using Drawing = std::function<void(QPainter &, const QColor &)>;

QPen strokePen(const QColor &c, qreal w = 3.0)
{
    return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void drawLoad(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c));
    // Tray.
    p.drawPolyline(QPolygonF({{8, 28}, {8, 40}, {40, 40}, {40, 28}}));
    // Arrow into the tray.
    p.drawLine(QPointF(24, 6), QPointF(24, 31));
    p.drawPolyline(QPolygonF({{15, 22}, {24, 31}, {33, 22}}));
}

void drawScale(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c));
    p.drawRect(QRectF(7, 23, 18, 18));
    p.setPen(strokePen(c, 2.0));
    p.drawRect(QRectF(7, 7, 34, 34));
    p.setPen(strokePen(c));
    p.drawLine(QPointF(21, 27), QPointF(36, 12));
    p.drawPolyline(QPolygonF({{26, 12}, {36, 12}, {36, 22}}));
}

void drawRotate(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c));
    const QRectF r(9, 9, 30, 30);
    p.drawArc(r, 60 * 16, 290 * 16);
    // Arrow head at the start of the arc (60 degrees).
    const qreal a = 60.0 * M_PI / 180.0;
    const QPointF tip(24 + 15 * std::cos(a), 24 - 15 * std::sin(a));
    p.setBrush(c);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({tip + QPointF(-9, -4), tip + QPointF(3, -8), tip + QPointF(1, 5)}));
    p.setBrush(Qt::NoBrush);
    p.setPen(strokePen(c, 2.0));
    p.drawEllipse(QPointF(24, 24), 3, 3);
}

void drawLayout(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c, 2.5));
    p.drawRoundedRect(QRectF(7, 7, 14, 14), 2, 2);
    p.drawRoundedRect(QRectF(27, 7, 14, 14), 2, 2);
    p.drawRoundedRect(QRectF(7, 27, 14, 14), 2, 2);
    p.setBrush(c);
    p.drawRoundedRect(QRectF(27, 27, 14, 14), 2, 2);
}

void drawSupport(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(8, 6, 32, 12), 3, 3);
    p.setPen(strokePen(c, 2.0));
    for (qreal x : {13.0, 24.0, 35.0}) {
        p.drawLine(QPointF(x, 18), QPointF(x, 36));
    }
    p.setPen(strokePen(c));
    p.drawLine(QPointF(6, 40), QPointF(42, 40));
}

void drawJewelrySupport(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c, 2.5));
    // A cut gem.
    const QPolygonF gem({{12, 12}, {18, 6}, {30, 6}, {36, 12}, {24, 26}});
    p.drawPolygon(gem);
    p.drawLine(QPointF(12, 12), QPointF(36, 12));
    p.drawLine(QPointF(20, 12), QPointF(24, 26));
    p.drawLine(QPointF(28, 12), QPointF(24, 26));
    // The single support under it.
    p.setPen(strokePen(c, 2.0));
    p.drawLine(QPointF(24, 26), QPointF(24, 38));
    p.setPen(strokePen(c));
    p.drawLine(QPointF(14, 41), QPointF(34, 41));
}

void drawDevice(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c));
    // Printer body with a window, a build plate and a vat.
    p.drawRoundedRect(QRectF(9, 5, 30, 38), 3, 3);
    p.setPen(strokePen(c, 2.0));
    p.drawLine(QPointF(16, 14), QPointF(32, 14));
    p.drawLine(QPointF(24, 14), QPointF(24, 9));
    p.drawRect(QRectF(15, 24, 18, 6));
    p.setBrush(c);
    p.drawRect(QRectF(9, 35, 30, 8));
}

// Camera buttons: a round plate with the direction or action on it.
void drawPlate(QPainter &p, const QColor &c)
{
    p.setPen(strokePen(c, 2.0));
    p.setBrush(QColor(255, 255, 255, 235));
    p.drawEllipse(QRectF(3, 3, 42, 42));
    p.setBrush(Qt::NoBrush);
}

void drawArrow(QPainter &p, const QColor &c, qreal angle)
{
    drawPlate(p, c);
    p.save();
    p.translate(24, 24);
    p.rotate(angle);
    p.setPen(strokePen(c, 3.5));
    p.drawLine(QPointF(0, 11), QPointF(0, -9));
    p.drawPolyline(QPolygonF({{-8, -1}, {0, -10}, {8, -1}}));
    p.restore();
}

void drawUp(QPainter &p, const QColor &c)
{
    drawArrow(p, c, 0);
}
void drawDown(QPainter &p, const QColor &c)
{
    drawArrow(p, c, 180);
}
void drawLeft(QPainter &p, const QColor &c)
{
    drawArrow(p, c, -90);
}
void drawRight(QPainter &p, const QColor &c)
{
    drawArrow(p, c, 90);
}

void drawHomeView(QPainter &p, const QColor &c)
{
    drawPlate(p, c);
    p.setPen(strokePen(c, 3.0));
    p.drawPolyline(QPolygonF({{12, 24}, {24, 13}, {36, 24}}));
    p.drawPolyline(QPolygonF({{16, 22}, {16, 34}, {32, 34}, {32, 22}}));
}

void drawZoom(QPainter &p, const QColor &c, bool nearer)
{
    drawPlate(p, c);
    p.setPen(strokePen(c, 3.0));
    p.drawEllipse(QPointF(21, 21), 8, 8);
    p.drawLine(QPointF(27, 27), QPointF(35, 35));
    p.setPen(strokePen(c, 2.5));
    p.drawLine(QPointF(17, 21), QPointF(25, 21));
    if (nearer) {
        p.drawLine(QPointF(21, 17), QPointF(21, 25));
    }
}

void drawFar(QPainter &p, const QColor &c)
{
    drawZoom(p, c, false);
}
void drawNear(QPainter &p, const QColor &c)
{
    drawZoom(p, c, true);
}

void drawTitle(QPainter &p, const QColor &c)
{
    // A resin drop above a build plate, at 24 pixels.
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    QPainterPath drop;
    drop.moveTo(12, 2);
    drop.cubicTo(12, 2, 5, 10, 5, 13.5);
    drop.arcTo(QRectF(5, 7, 14, 13), 180, 180);
    drop.cubicTo(19, 10, 12, 2, 12, 2);
    p.drawPath(drop);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawEllipse(QRectF(8, 11, 3, 4));
    p.setBrush(c.darker(130));
    p.drawRoundedRect(QRectF(2, 21, 20, 2.5), 1, 1);
}

bool save(const QImage &img, const QString &path)
{
    if (!img.save(path, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

bool drawPair(const QString &dir, const QString &name, const QString &colorName, const Drawing &d)
{
    bool ok = true;
    // Each image also at twice the size ("@2x"), which Qt picks on high-density screens.
    for (int scale = 1; scale <= 2; ++scale) {
        for (int active = 0; active < 2; ++active) {
            QImage img(kSize * scale, kSize * scale, QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.scale(scale, scale);
            d(p, active ? kActive : kNormal);
            p.end();
            const QString suffix = scale == 2 ? QStringLiteral("@2x.png") : QStringLiteral(".png");
            ok = save(img, dir + "/Image/" + (active ? colorName : name) + suffix) && ok;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("ui/resources");
    QDir().mkpath(dir + "/Image");
    QDir().mkpath(dir + "/icon");
    bool ok = true;
    ok = drawPair(dir, "load", "loadcolor", drawLoad) && ok;
    ok = drawPair(dir, "scale", "scalecolor", drawScale) && ok;
    ok = drawPair(dir, "rorate", "roratecolor", drawRotate) && ok;
    ok = drawPair(dir, "layout", "layoutcolor", drawLayout) && ok;
    ok = drawPair(dir, "support", "supportcolor", drawSupport) && ok;
    ok = drawPair(dir, "jewSupport", "jewSupportColor", drawJewelrySupport) && ok;
    ok = drawPair(dir, "deviceManage", "deviceManageColor", drawDevice) && ok;
    ok = drawPair(dir, "up", "upcolor", drawUp) && ok;
    ok = drawPair(dir, "down", "downcolor", drawDown) && ok;
    ok = drawPair(dir, "left", "leftcolor", drawLeft) && ok;
    ok = drawPair(dir, "right", "rightcolor", drawRight) && ok;
    ok = drawPair(dir, "view", "viewcolor", drawHomeView) && ok;
    ok = drawPair(dir, "far", "farcolor", drawFar) && ok;
    ok = drawPair(dir, "near", "nearcolor", drawNear) && ok;
    QImage title(24, 24, QImage::Format_ARGB32_Premultiplied);
    title.fill(Qt::transparent);
    QPainter p(&title);
    p.setRenderHint(QPainter::Antialiasing);
    drawTitle(p, kActive);
    p.end();
    ok = save(title, dir + "/icon/24.png") && ok;
    return ok ? 0 : 1;
}
