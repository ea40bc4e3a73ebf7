#include "app/artwork.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace {

// The classic sixteen-colour palette keeps the pictures crisp at their small size.
const QColor kBlack(0, 0, 0);
const QColor kDarkGray(128, 128, 128);
const QColor kLightGray(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kNavy(0, 0, 128);
const QColor kTeal(0, 128, 128);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);
const QColor kRed(255, 0, 0);
const QColor kMaroon(128, 0, 0);

QIcon image(const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(kBlack);
    draw(painter);
    painter.end();
    return QIcon(pixmap);
}

void page(QPainter &p, int x, int y, int w, int h)
{
    QPolygon outline;
    outline << QPoint(x, y) << QPoint(x + w - 4, y) << QPoint(x + w, y + 4) << QPoint(x + w, y + h)
            << QPoint(x, y + h);
    p.setBrush(kWhite);
    p.drawPolygon(outline);
    p.drawLine(x + w - 4, y, x + w - 4, y + 4);
    p.drawLine(x + w - 4, y + 4, x + w, y + 4);
}

void textLines(QPainter &p, int x, int y, int w, int count)
{
    p.setPen(kDarkGray);
    for (int i = 0; i < count; ++i)
        p.drawLine(x, y + 2 * i, x + w, y + 2 * i);
    p.setPen(kBlack);
}

} // namespace

namespace Artwork {

QList<QIcon> toolbarImages()
{
    QList<QIcon> images;
    images << image([](QPainter &p) { page(p, 2, 0, 11, 14); });
    images << image([](QPainter &p) {
        p.setBrush(kOlive);
        p.drawRect(0, 3, 13, 10);
        p.setBrush(kYellow);
        QPolygon lid;
        lid << QPoint(3, 6) << QPoint(15, 6) << QPoint(12, 13) << QPoint(0, 13);
        p.drawPolygon(lid);
    });
    images << image([](QPainter &p) {
        p.setBrush(kNavy);
        p.drawRect(1, 0, 13, 14);
        p.setBrush(kWhite);
        p.drawRect(3, 0, 9, 6);
        p.setBrush(kLightGray);
        p.drawRect(4, 9, 7, 5);
        p.fillRect(5, 10, 2, 3, kNavy);
    });
    images << image([](QPainter &p) {
        p.setPen(QPen(kNavy, 1));
        p.drawLine(4, 0, 9, 8);
        p.drawLine(11, 0, 6, 8);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(2, 8, 4, 5);
        p.drawEllipse(9, 8, 4, 5);
    });
    images << image([](QPainter &p) {
        page(p, 0, 0, 9, 10);
        textLines(p, 2, 4, 5, 3);
        page(p, 6, 4, 9, 10);
        textLines(p, 8, 8, 5, 3);
    });
    images << image([](QPainter &p) {
        p.setBrush(kOlive);
        p.drawRect(1, 1, 10, 13);
        p.setBrush(kLightGray);
        p.drawRect(4, 0, 4, 2);
        page(p, 6, 4, 9, 10);
        textLines(p, 8, 8, 5, 3);
    });
    images << image([](QPainter &p) {
        page(p, 4, 0, 8, 6);
        p.setBrush(kLightGray);
        p.drawRect(0, 6, 15, 6);
        p.fillRect(12, 8, 2, 1, kYellow);
        p.setBrush(kWhite);
        p.drawRect(3, 11, 9, 3);
    });
    images << image([](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setBrush(kTeal);
        p.setPen(kNavy);
        p.drawEllipse(QRectF(1.5, 0.5, 13, 13));
        p.setPen(kWhite);
        QFont font = p.font();
        font.setPixelSize(11);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(1, 0, 14, 14), Qt::AlignCenter, QStringLiteral("?"));
    });
    images << image([](QPainter &p) {
        QPolygon arrow;
        arrow << QPoint(0, 0) << QPoint(0, 11) << QPoint(3, 8) << QPoint(5, 13) << QPoint(7, 12)
              << QPoint(5, 7) << QPoint(9, 7);
        p.setBrush(kWhite);
        p.drawPolygon(arrow);
        p.setPen(kNavy);
        QFont font = p.font();
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.drawText(QRect(8, 0, 8, 12), Qt::AlignCenter, QStringLiteral("?"));
    });
    return images;
}

QPixmap aboutPicture()
{
    QPixmap pixmap(413, 235);
    pixmap.fill(kNavy);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);

    // A vowel quadrilateral: front vowels left, back right, close at the top.
    const QPolygonF quad({{60, 40}, {330, 40}, {330, 205}, {170, 205}});
    p.setPen(QPen(kLightGray, 2));
    p.setBrush(kTeal);
    p.drawPolygon(quad);
    p.setPen(QPen(kLightGray, 1, Qt::DotLine));
    p.drawLine(QPointF(97, 95), QPointF(330, 95));
    p.drawLine(QPointF(133, 150), QPointF(330, 150));
    p.drawLine(QPointF(195, 40), QPointF(250, 205));

    struct Vowel
    {
        QPointF at;
        const char *symbol;
        QColor colour;
    };
    const Vowel vowels[] = {
        {{78, 50}, "i", kYellow},          {{118, 100}, "e", kYellow},
        {{155, 155}, "\xC9\x9B", kYellow}, {{195, 190}, "a", kRed},
        {{310, 50}, "u", kYellow},         {{310, 100}, "o", kYellow},
        {{305, 190}, "\xC9\x91", kRed},
    };
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    for (const Vowel &vowel : vowels) {
        p.setPen(QPen(kWhite, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(vowel.at + QPointF(8, 6), 26, 16);
        p.setPen(vowel.colour);
        p.drawText(QRectF(vowel.at.x() - 8, vowel.at.y() - 10, 32, 32), Qt::AlignCenter,
                   QString::fromUtf8(vowel.symbol));
    }

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(kWhite);
    p.drawText(QRect(0, 0, 405, 36), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Tessavox"));
    QFont axis(QStringLiteral("DejaVu Sans"));
    axis.setPixelSize(12);
    p.setFont(axis);
    p.setPen(kLightGray);
    p.drawText(QRect(0, 212, 405, 20), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("F1 against F2, Bark scale"));
    p.end();
    return pixmap;
}

QIcon applicationIcon()
{
    // The same picture as the installed desktop icon.
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/tessavox-48.png"));
    icon.addFile(QStringLiteral(":/icons/tessavox-128.png"));
    return icon;
}

} // namespace Artwork
