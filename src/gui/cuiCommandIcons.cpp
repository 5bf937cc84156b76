#include "gui/cuiCommandIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

namespace {

// Drawn on a 32 x 32 grid and scaled to each size.
constexpr double kGrid = 32.0;
constexpr int kSizes[] = {16, 20, 22, 24, 32, 48, 64};

const QColor kOutline(60, 60, 60);
const QColor kBlue(38, 110, 200);
const QColor kGreen(40, 150, 60);
const QColor kOrange(220, 110, 20);

const char* ThemeName(int kind) {
    switch (kind) {
    case cuiCommandIcons::New:
        return "document-new";
    case cuiCommandIcons::Open:
        return "document-open";
    case cuiCommandIcons::Save:
        return "document-save";
    case cuiCommandIcons::Print:
        return "document-print";
    case cuiCommandIcons::Help:
        return "help-contents";
    case cuiCommandIcons::About:
        return "help-about";
    default:
        return nullptr; // the radio commands have no theme icon
    }
}

QPen Pen(const QColor& color, double width = 1.5) {
    QPen pen(color, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Page(QPainter& p) {
    QPolygonF page({{7, 3}, {20, 3}, {26, 9}, {26, 29}, {7, 29}});
    p.setPen(Pen(kOutline));
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.setBrush(QColor(220, 220, 220));
    p.drawPolygon(QPolygonF({{20, 3}, {20, 9}, {26, 9}}));
}

void Folder(QPainter& p) {
    p.setPen(Pen(QColor(150, 110, 20)));
    p.setBrush(QColor(220, 170, 50));
    p.drawPolygon(QPolygonF({{2, 8}, {11, 8}, {14, 11}, {27, 11}, {27, 27}, {2, 27}}));
    p.setBrush(QColor(250, 210, 90));
    p.drawPolygon(QPolygonF({{6, 15}, {31, 15}, {27, 27}, {2, 27}}));
}

void Disk(QPainter& p) {
    p.setPen(Pen(QColor(20, 50, 110)));
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({{4, 4}, {25, 4}, {28, 7}, {28, 28}, {4, 28}}));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(QColor(20, 50, 110));
    p.drawRect(QRectF(17, 5.5, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void Printer(QPainter& p) {
    p.setPen(Pen(kOutline));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 10)); // the sheet going in
    p.setBrush(QColor(150, 150, 155));
    p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 20, 14, 9)); // the printed sheet
    p.setPen(Pen(kOutline, 1));
    p.drawLine(QPointF(11, 24), QPointF(21, 24));
    p.drawLine(QPointF(11, 27), QPointF(19, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QRectF(24, 15, 3, 3));
}

// A handheld radio at the right of the grid; the commands that talk to it add an arrow or a mark.
void Radio(QPainter& p) {
    p.setPen(Pen(QColor(30, 30, 30)));
    p.setBrush(QColor(70, 70, 75));
    p.drawRect(QRectF(22, 2, 3, 8)); // antenna
    p.drawRoundedRect(QRectF(17, 8, 13, 22), 2.5, 2.5);
    p.setBrush(QColor(170, 220, 160));
    p.drawRect(QRectF(19.5, 11, 8, 5)); // display
    p.setPen(Pen(QColor(200, 200, 200), 1));
    for (double y : {20.0, 23.0, 26.0})
        p.drawLine(QPointF(20, y), QPointF(27, y)); // speaker grille
}

// An arrow along y = 19 from x0 to x1 (its head at x1).
void Arrow(QPainter& p, double x0, double x1, const QColor& color) {
    const double dir = x1 > x0 ? 1 : -1;
    const double neck = x1 - dir * 6;
    QPolygonF arrow({{x0, 16}, {neck, 16}, {neck, 12}, {x1, 19}, {neck, 26}, {neck, 22}, {x0, 22}});
    p.setPen(Pen(color.darker(140), 1));
    p.setBrush(color);
    p.drawPolygon(arrow);
}

// A round badge with a letter: "?" for help, "i" for information.
void Badge(QPainter& p, const QRectF& circle, const QString& letter) {
    p.setPen(Pen(QColor(20, 60, 130), 1.2));
    p.setBrush(kBlue);
    p.drawEllipse(circle);
    QFont font;
    font.setBold(true);
    font.setPixelSize(static_cast<int>(circle.height() * 0.75));
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(circle, Qt::AlignCenter, letter);
}

void ChannelList(QPainter& p) {
    p.setPen(Pen(kOutline));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 4, 26, 24));
    p.setBrush(kBlue);
    p.drawRect(QRectF(3, 4, 26, 6)); // title bar
    p.setPen(Pen(kOutline, 1));
    for (double y : {14.0, 18.5, 23.0}) {
        p.setBrush(QColor(170, 200, 240));
        p.drawRect(QRectF(6, y - 1.5, 4, 3)); // channel number
        p.drawLine(QPointF(13, y), QPointF(26, y));
    }
}

void Paint(QPainter& p, int kind) {
    switch (kind) {
    case cuiCommandIcons::New:
        Page(p);
        break;
    case cuiCommandIcons::Open:
        Folder(p);
        break;
    case cuiCommandIcons::Save:
        Disk(p);
        break;
    case cuiCommandIcons::Print:
        Printer(p);
        break;
    case cuiCommandIcons::CloneRead:
        Radio(p);
        Arrow(p, 16, 1, kGreen); // out of the radio into the program
        break;
    case cuiCommandIcons::CloneWrite:
        Radio(p);
        Arrow(p, 1, 16, kOrange); // from the program into the radio
        break;
    case cuiCommandIcons::CloneInfo:
        Radio(p);
        Badge(p, QRectF(1, 12, 15, 15), QStringLiteral("i"));
        break;
    case cuiCommandIcons::ChannelWindow:
        ChannelList(p);
        break;
    case cuiCommandIcons::Help:
        Badge(p, QRectF(2, 2, 28, 28), QStringLiteral("?"));
        break;
    case cuiCommandIcons::About:
        Badge(p, QRectF(2, 2, 28, 28), QStringLiteral("i"));
        break;
    case cuiCommandIcons::Program:
        p.translate(-7, 0);
        Radio(p);
        break;
    default:
        break;
    }
}

} // namespace

QIcon cuiCommandIcons::Drawn(int kind) {
    if (kind < New || kind > Program)
        return {};
    QIcon icon;
    for (int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(size / kGrid, size / kGrid);
        Paint(p, kind);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QIcon cuiCommandIcons::Icon(int kind) {
    const char* name = ThemeName(kind);
    if (name && QIcon::hasThemeIcon(QLatin1String(name)))
        return QIcon::fromTheme(QLatin1String(name));
    return Drawn(kind);
}
