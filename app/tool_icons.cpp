#include "app/tool_icons.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>
#include <QStyleOption>
#include <cstddef>
#include <iterator>

namespace kov {

namespace {

constexpr int kImageSize = 32;

const char *ThemeName(TToolImage image)
{
    switch (image) {
    case TToolImage::Open:
        return "document-open";
    case TToolImage::Save:
        return "document-save";
    case TToolImage::Update:
        return "view-refresh";
    case TToolImage::About:
        return "help-about";
    case TToolImage::Exit:
        return "application-exit";
    }
    return "";
}

void DrawOpen(QPainter &p)
{
    // A folder, its front flap open.
    p.setPen(QPen(QColor(120, 90, 20), 1.5));
    p.setBrush(QColor(230, 190, 80));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(27, 11);
    back.lineTo(27, 26);
    back.lineTo(3, 26);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(250, 215, 110));
    p.drawPolygon(QPolygonF({{3, 26}, {8, 15}, {31, 15}, {27, 26}}));
}

void DrawSave(QPainter &p)
{
    // A floppy disk.
    p.setPen(QPen(QColor(20, 40, 90), 1.5));
    p.setBrush(QColor(50, 90, 170));
    p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(9, 4, 14, 9));
    p.setBrush(QColor(50, 90, 170));
    p.drawRect(QRectF(18, 6, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 17, 16, 11));
}

void DrawUpdate(QPainter &p)
{
    // Two arrows chasing each other round a circle.
    const QColor green(30, 130, 50);
    p.setPen(QPen(green, 3.5, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(6, 6, 20, 20);
    p.drawArc(ring, 30 * 16, 140 * 16);
    p.drawArc(ring, 210 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(green);
    p.drawPolygon(QPolygonF({{2, 13}, {11, 13}, {6.5, 20}}));
    p.drawPolygon(QPolygonF({{21, 19}, {30, 19}, {25.5, 12}}));
}

void DrawAbout(QPainter &p)
{
    // A question mark in a blue disc.
    p.setPen(QPen(QColor(20, 50, 120), 1.5));
    p.setBrush(QColor(60, 110, 200));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(3, 3, 26, 26), Qt::AlignCenter, QStringLiteral("?"));
}

void DrawExit(QPainter &p)
{
    // An open door with an arrow leaving through it.
    p.setPen(QPen(QColor(90, 50, 20), 1.5));
    p.setBrush(QColor(150, 90, 40));
    p.drawRect(QRectF(4, 3, 14, 26));
    p.setBrush(QColor(210, 150, 80));
    p.drawPolygon(QPolygonF({{4, 3}, {12, 7}, {12, 31}, {4, 29}}));
    const QColor red(200, 30, 30);
    p.setPen(QPen(red, 3.5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(15, 16), QPointF(25, 16));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPolygon(QPolygonF({{24, 10}, {31, 16}, {24, 22}}));
}

/// The drawing of each tool image, in TToolImage order.
constexpr void (*ToolImagePainters[])(QPainter &) = {DrawOpen, DrawSave, DrawUpdate, DrawAbout,
                                                     DrawExit};

void DrawToolImage(TToolImage image, QPainter &p)
{
    const auto index = static_cast<std::size_t>(image);
    if (index < std::size(ToolImagePainters))
        ToolImagePainters[index](p);
}

// Draws the artwork at whatever size and device pixel ratio the image is
// shown at, so that it is as sharp on a 200 % screen as on a plain one.
class TDrawnIconEngine : public QIconEngine
{
public:
    explicit TDrawnIconEngine(TToolImage image) : m_image(image) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / double(kImageSize), rect.height() / double(kImageSize));
        DrawToolImage(m_image, *painter);
        painter->restore();
    }

    // size is in device pixels: the icon asks for its size times the ratio.
    // Tool buttons ask again at every repaint; each picture is drawn once.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        for (const Drawn &drawn : m_drawn)
            if (drawn.Size == size && drawn.Mode == mode)
                return drawn.Pixmap;
        QPixmap pixmap = Draw(size, mode, state);
        m_drawn.append(Drawn{size, mode, pixmap});
        return pixmap;
    }

    QIconEngine *clone() const override { return new TDrawnIconEngine(m_image); }

private:
    QPixmap Draw(const QSize &size, QIcon::Mode mode, QIcon::State state)
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        painter.end();
        if (mode == QIcon::Disabled && QApplication::style()) {
            QStyleOption option;
            option.palette = QApplication::palette();
            return QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        }
        return pixmap;
    }

    struct Drawn
    {
        QSize Size;
        QIcon::Mode Mode;
        QPixmap Pixmap;
    };
    TToolImage m_image;
    QList<Drawn> m_drawn;
};

} // namespace

QIcon DrawnToolImage(TToolImage image)
{
    return QIcon(new TDrawnIconEngine(image));
}

QIcon ToolImage(TToolImage image)
{
    const QIcon themed = QIcon::fromTheme(QString::fromLatin1(ThemeName(image)));
    // A theme may name an icon it cannot render (an SVG without the plugin)
    // or have it only smaller, so only a real 32x32 picture counts.
    if (!themed.isNull()) {
        const QPixmap pixmap = themed.pixmap(kImageSize, kImageSize);
        if (!pixmap.isNull() &&
            pixmap.deviceIndependentSize().toSize() == QSize(kImageSize, kImageSize))
            return themed;
    }
    return DrawnToolImage(image);
}

QList<QIcon> CreateImageList()
{
    QList<QIcon> images;
    for (TToolImage image : {TToolImage::Open, TToolImage::Save, TToolImage::Update,
                             TToolImage::About, TToolImage::Exit})
        images.append(ToolImage(image));
    return images;
}

} // namespace kov
