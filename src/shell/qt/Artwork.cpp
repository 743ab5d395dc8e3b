#include "shell/qt/Artwork.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QStyle>
#include <cmath>

#include "platform/qt/QtColour.h"
#include "shell/MainMDILogic.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The visible spectrum, violet to red, t in [0, 1].
QColor spectrum(double t, int alpha = 255) {
    QColor c = QColor::fromHsvF(static_cast<float>(0.78 * (1.0 - t)), 0.85f, 1.0f);
    c.setAlpha(alpha);
    return c;
}

void prism(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 300);
    sky.setColorAt(0, QColor(18, 24, 48));
    sky.setColorAt(1, QColor(46, 30, 74));
    p.fillRect(0, 0, 400, 300, sky);
    p.setPen(QPen(QColor(255, 255, 240, 230), 4));
    p.drawLine(QPointF(0, 190), QPointF(168, 150));
    const QPointF apex(200, 60), left(130, 230), right(270, 230);
    for (int i = 0; i < 60; ++i) {
        const double t = i / 59.0;
        p.setPen(QPen(spectrum(t, 190), 3));
        p.drawLine(QPointF(232, 150 + 4 * t), QPointF(400, 150 + 40 + 130 * t));
    }
    QPolygonF tri;
    tri << apex << left << right;
    QLinearGradient glass(130, 60, 270, 230);
    glass.setColorAt(0, QColor(200, 230, 255, 150));
    glass.setColorAt(1, QColor(90, 140, 200, 110));
    p.setPen(QPen(QColor(220, 240, 255), 2));
    p.setBrush(glass);
    p.drawPolygon(tri);
}

void rings(QPainter& p) {
    p.fillRect(0, 0, 400, 300, QColor(240, 236, 220));
    const QPointF c(200, 150);
    for (int r = 190; r > 0; r -= 2) {
        const double phase = std::sqrt(static_cast<double>(r)) * 1.9;
        const double v = 0.5 + 0.5 * std::cos(phase * kPi);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromRgbF(static_cast<float>(0.55 + 0.4 * v), static_cast<float>(0.45 + 0.4 * v),
                                    static_cast<float>(0.30 + 0.5 * (1 - v))));
        p.drawEllipse(c, r, r);
    }
}

void lens(QPainter& p) {
    QLinearGradient bg(0, 0, 400, 300);
    bg.setColorAt(0, QColor(12, 60, 92));
    bg.setColorAt(1, QColor(6, 24, 44));
    p.fillRect(0, 0, 400, 300, bg);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    for (int x = 0; x <= 400; x += 25) p.drawLine(x, 0, x, 300);
    for (int y = 0; y <= 300; y += 25) p.drawLine(0, y, 400, y);
    const QPointF focus(330, 150);
    for (int i = -4; i <= 4; ++i) {
        const double y = 150 + i * 22;
        p.setPen(QPen(QColor(255, 210, 90, 210), 2));
        p.drawLine(QPointF(0, y), QPointF(160, y));
        p.drawLine(QPointF(160, y), focus);
        p.setPen(QPen(QColor(255, 210, 90, 70), 2));
        p.drawLine(focus, QPointF(400, 150 + (150 - y) * 0.41));
    }
    QPainterPath shape;
    shape.moveTo(160, 40);
    shape.quadTo(205, 150, 160, 260);
    shape.quadTo(115, 150, 160, 40);
    QLinearGradient glass(120, 0, 200, 0);
    glass.setColorAt(0, QColor(170, 220, 255, 190));
    glass.setColorAt(1, QColor(80, 150, 220, 160));
    p.setPen(QPen(QColor(210, 240, 255), 2));
    p.setBrush(glass);
    p.drawPath(shape);
}

void glassMap(QPainter& p) {
    p.fillRect(0, 0, 400, 300, QColor(250, 250, 246));
    p.setPen(QPen(QColor(200, 200, 210), 1));
    for (int x = 30; x <= 390; x += 40) p.drawLine(x, 20, x, 280);
    for (int y = 20; y <= 280; y += 40) p.drawLine(30, y, 390, y);
    p.setPen(QPen(QColor(60, 60, 80), 2));
    p.drawLine(30, 280, 390, 280);
    p.drawLine(30, 20, 30, 280);
    // A scatter like an nd / vd map: high dispersion glasses are the dense ones.
    unsigned seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return static_cast<double>((seed >> 8) & 0xFFFF) / 65535.0;
    };
    for (int i = 0; i < 160; ++i) {
        const double vd = next();
        const double nd = std::clamp(0.15 + 0.7 * (1.0 - vd) * (1.0 - vd) + 0.18 * (next() - 0.5), 0.0, 1.0);
        const QPointF at(390 - vd * 350, 270 - nd * 240);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor::fromHsvF(static_cast<float>(0.55 - 0.5 * nd), 0.7f, 0.85f, 0.85f));
        p.drawEllipse(at, 4.5, 4.5);
    }
}

void fraunhofer(QPainter& p) {
    for (int x = 0; x < 400; ++x) {
        p.setPen(spectrum(x / 399.0));
        p.drawLine(x, 60, x, 240);
    }
    QLinearGradient fade(0, 0, 0, 300);
    fade.setColorAt(0, QColor(0, 0, 0));
    fade.setColorAt(0.2, QColor(0, 0, 0, 0));
    fade.setColorAt(0.8, QColor(0, 0, 0, 0));
    fade.setColorAt(1, QColor(0, 0, 0));
    p.fillRect(0, 0, 400, 60, Qt::black);
    p.fillRect(0, 240, 400, 60, Qt::black);
    p.fillRect(0, 60, 400, 180, fade);
    // Dark lines at the places of the C, D, E, F, G and H lines.
    for (int x : {338, 300, 262, 204, 124, 66, 62}) {
        p.setPen(QPen(QColor(0, 0, 0, 220), 2));
        p.drawLine(x, 60, x, 240);
    }
}

void waves(QPainter& p) {
    QLinearGradient bg(0, 0, 0, 300);
    bg.setColorAt(0, QColor(0, 96, 110));
    bg.setColorAt(1, QColor(0, 40, 60));
    p.fillRect(0, 0, 400, 300, bg);
    p.setRenderHint(QPainter::Antialiasing);
    for (int band = 0; band < 14; ++band) {
        QPainterPath path;
        const double base = 20 + band * 20;
        path.moveTo(0, base);
        for (int x = 0; x <= 400; x += 4) {
            path.lineTo(x, base + 9 * std::sin(x / 28.0 + band * 0.6) + 4 * std::sin(x / 11.0 - band));
        }
        p.setPen(QPen(QColor(120 + band * 8, 230, 220, 160), 2));
        p.drawPath(path);
    }
}

void crystal(QPainter& p) {
    p.fillRect(0, 0, 400, 300, QColor(34, 44, 64));
    const double r = 24;
    const double w = std::sqrt(3.0) * r;
    int row = 0;
    for (double y = 0; y < 300 + r; y += 1.5 * r, ++row) {
        for (double x = (row % 2) * w / 2; x < 400 + w; x += w) {
            QPolygonF hex;
            for (int k = 0; k < 6; ++k) {
                const double a = kPi / 6 + k * kPi / 3;
                hex << QPointF(x + (r - 2) * std::cos(a), y + (r - 2) * std::sin(a));
            }
            QLinearGradient g(x - r, y - r, x + r, y + r);
            const double t = (x + y) / 700.0;
            g.setColorAt(0, QColor::fromHsvF(static_cast<float>(0.5 + 0.15 * t), 0.45f, 0.95f));
            g.setColorAt(1, QColor::fromHsvF(static_cast<float>(0.6 + 0.15 * t), 0.65f, 0.55f));
            p.setPen(QPen(QColor(255, 255, 255, 70), 1));
            p.setBrush(g);
            p.drawPolygon(hex);
        }
    }
}

void sunset(QPainter& p) {
    QLinearGradient sky(0, 0, 0, 180);
    sky.setColorAt(0, QColor(40, 30, 90));
    sky.setColorAt(0.6, QColor(230, 110, 80));
    sky.setColorAt(1, QColor(255, 200, 110));
    p.fillRect(0, 0, 400, 180, sky);
    QRadialGradient sun(200, 180, 70);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(0.5, QColor(255, 220, 120, 220));
    sun.setColorAt(1, QColor(255, 160, 80, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(200, 180), 70, 70);
    QLinearGradient sea(0, 180, 0, 300);
    sea.setColorAt(0, QColor(60, 70, 130));
    sea.setColorAt(1, QColor(14, 20, 50));
    p.fillRect(0, 180, 400, 120, sea);
    for (int y = 186; y < 300; y += 7) {
        const double spread = 12 + (y - 180) * 0.9;
        p.setPen(QPen(QColor(255, 210, 140, 150 - (y - 180)), 2));
        p.drawLine(QPointF(200 - spread, y), QPointF(200 + spread, y));
    }
}

QPixmap iconCanvas() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

// The icon in greys: its darkest opaque pixel becomes the disabled ink, white
// stays a light grey, the shades between follow; transparency is kept. The
// style's own disabled icon fades into the header.
QPixmap greyed(const QPixmap& normal) {
    QImage image = normal.toImage().convertToFormat(QImage::Format_ARGB32);
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) >= 128) darkest = std::min(darkest, qGray(p));
        }
    const int ink = RibbonDisabledInk().red();
    constexpr int kLightest = 236;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const int g = darkest >= 255 ? kLightest
                                           : ink + (std::max(qGray(p), darkest) - darkest) * (kLightest - ink) / (255 - darkest);
            image.setPixel(x, y, qRgba(g, g, g, qAlpha(p)));
        }
    return QPixmap::fromImage(image);
}

}  // namespace

QColor RibbonDisabledInk() { return QColor(84, 84, 84); }

QImage WallpaperPicture(int picture) {
    if (picture < 1 || picture > kWallpaperCount) return {};
    QImage image(kWallpaperWidth, kWallpaperHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (picture) {
    case 1: prism(p); break;
    case 2: rings(p); break;
    case 3: lens(p); break;
    case 4: glassMap(p); break;
    case 5: fraunhofer(p); break;
    case 6: waves(p); break;
    case 7: crystal(p); break;
    default: sunset(p); break;
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(1, 1, kWallpaperWidth - 2, kWallpaperHeight - 2);
    return image;
}

QIcon RibbonIcon(int index) {
    QPixmap pm = iconCanvas();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(24, 52, 84);
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (index) {
    case 1: {  // Setup: a gear
        p.setBrush(QColor(250, 250, 250));
        QPolygonF gear;
        for (int k = 0; k < 16; ++k) {
            const double a = k * kPi / 8;
            const double r = (k % 2) ? 10 : 14;
            gear << QPointF(16 + r * std::cos(a), 16 + r * std::sin(a));
        }
        p.drawPolygon(gear);
        p.setBrush(ink);
        p.drawEllipse(QPointF(16, 16), 4, 4);
        break;
    }
    case 2:  // Manage: a list
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(5, 4, 22, 24), 2, 2);
        for (int y : {10, 16, 22}) {
            p.drawLine(9, y, 11, y);
            p.drawLine(14, y, 23, y);
        }
        break;
    case 3:  // New: a sheet with a plus
        p.setBrush(QColor(255, 255, 255));
        p.drawRoundedRect(QRectF(6, 4, 18, 24), 2, 2);
        p.setPen(QPen(QColor(20, 140, 60), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(22, 18, 22, 28);
        p.drawLine(17, 23, 27, 23);
        break;
    case 4:  // Import: arrow into a tray
    case 5: {  // Export: arrow out of a tray
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(5, 20), QPointF(5, 27), QPointF(27, 27), QPointF(27, 20)}));
        const bool in = index == 4;
        p.setPen(QPen(in ? QColor(20, 110, 190) : QColor(200, 90, 20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(16, 4, 16, 21);
        if (in) {
            p.drawLine(10, 15, 16, 21);
            p.drawLine(22, 15, 16, 21);
        } else {
            p.drawLine(10, 10, 16, 4);
            p.drawLine(22, 10, 16, 4);
        }
        break;
    }
    case 6:  // Archive: a box
        p.setBrush(QColor(222, 190, 140));
        p.drawRect(QRectF(5, 11, 22, 16));
        p.drawRect(QRectF(3, 6, 26, 6));
        p.drawLine(13, 17, 19, 17);
        break;
    case 7: {  // Melt: a crucible with a drop
        p.setBrush(QColor(240, 140, 40));
        QPainterPath drop;
        drop.moveTo(16, 3);
        drop.cubicTo(24, 14, 22, 19, 16, 19);
        drop.cubicTo(10, 19, 8, 14, 16, 3);
        p.drawPath(drop);
        p.setBrush(QColor(160, 170, 180));
        p.drawPolygon(QPolygonF({QPointF(6, 21), QPointF(26, 21), QPointF(23, 29), QPointF(9, 29)}));
        break;
    }
    default:  // End: a door with an arrow
        p.setBrush(QColor(255, 255, 255));
        p.drawRect(QRectF(6, 4, 14, 24));
        p.setPen(QPen(QColor(190, 30, 30), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(14, 16, 28, 16);
        p.drawLine(23, 11, 28, 16);
        p.drawLine(23, 21, 28, 16);
        break;
    }
    p.end();
    QIcon icon(pm);
    icon.addPixmap(greyed(pm), QIcon::Disabled);
    return icon;
}

QPixmap LogoPixmap(int height) {
    const int h = height < 16 ? 16 : height;
    const double s = h / 40.0;
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(17 * s));
    const QString name = QStringLiteral("Kalvenor");
    const int w = static_cast<int>(42 * s) + QFontMetrics(font).horizontalAdvance(name) + 4;
    QPixmap pm(w, h);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A prism splitting a ray, and the program's name.
    p.setPen(QPen(QColor(255, 255, 250), 2 * s));
    p.drawLine(QPointF(2 * s, 26 * s), QPointF(14 * s, 22 * s));
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(spectrum(i / 5.0), 2 * s));
        p.drawLine(QPointF(22 * s, 22 * s), QPointF(36 * s, (16 + 4 * i) * s));
    }
    p.setPen(QPen(QColor(20, 50, 80), 1.5 * s));
    p.setBrush(QColor(220, 240, 255, 200));
    p.drawPolygon(QPolygonF({QPointF(18 * s, 6 * s), QPointF(8 * s, 34 * s), QPointF(28 * s, 34 * s)}));
    p.setFont(font);
    p.setPen(QColor(20, 50, 80));
    p.drawText(QRectF(42 * s, 0, w - 42 * s, h), Qt::AlignVCenter | Qt::AlignLeft, name);
    return pm;
}

QImage ProgramIconImage(int size) {
    const int n = size < 8 ? 8 : size;
    QImage image(n, n, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A prism splitting a white ray, drawn on a 32-unit square. The small
    // sizes get fewer, wider rays so that the spectrum stays a spectrum.
    p.scale(n / 32.0, n / 32.0);
    const double px = 32.0 / n;  // one pixel in units
    const bool small = n < 28;
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0.5 * px, 0.5 * px, 32 - px, 32 - px), 6, 6);
    QLinearGradient back(0, 0, 0, 32);
    back.setColorAt(0, QColor(0x2A, 0x4C, 0x74));
    back.setColorAt(1, QColor(0x12, 0x22, 0x3C));
    p.setPen(QPen(ToQColor(kHeaderColour), small ? px : 1.2 * px));
    p.setBrush(back);
    p.drawPath(tile);
    p.setClipPath(tile);
    const QPointF entry(8.6, 17.5), exit(19.6, 19.0);
    p.setPen(QPen(QColor(255, 255, 245), small ? 2.0 : 1.6, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-1, 22.5), entry);
    const QPolygonF prism({QPointF(14, 4), QPointF(4.5, 27.5), QPointF(23.5, 27.5)});
    QLinearGradient glass(6, 4, 24, 27);
    glass.setColorAt(0, QColor(235, 248, 255, small ? 160 : 120));
    glass.setColorAt(1, QColor(150, 200, 240, small ? 130 : 90));
    p.setPen(Qt::NoPen);
    p.setBrush(glass);
    p.drawPolygon(prism);
    p.setPen(QPen(QColor(255, 255, 245, 150), small ? 1.6 : 1.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(entry, exit);
    const int rays = small ? 3 : 6;
    for (int i = 0; i < rays; ++i) {
        const double t = static_cast<double>(i) / (rays - 1);
        p.setPen(QPen(spectrum(t), small ? 2.4 : 1.7, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(exit, QPointF(33, 13 + 16 * t));
    }
    p.setClipping(false);
    const double outline = small ? 1.4 : (n >= 96 ? 0.8 : 1.1);
    p.setPen(QPen(QColor(225, 242, 255), outline, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(prism);
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : kProgramIconSizes) icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
    // The style's own small and large icon sizes, drawn for them too.
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        const QStyle* style = QApplication::style();
        for (QStyle::PixelMetric metric : {QStyle::PM_SmallIconSize, QStyle::PM_LargeIconSize}) {
            const int size = style->pixelMetric(metric);
            if (size > 0 && !icon.availableSizes().contains(QSize(size, size)))
                icon.addPixmap(QPixmap::fromImage(ProgramIconImage(size)));
        }
    }
    return icon;
}
