// The demo's node images, drawn here so the demo needs no image files: a folder, an open
// folder, a document, a gear for settings and a note.
#include "demo/DemoTree.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "platform/framework/ImgList.h"

namespace {

constexpr int Size = 16;

// A transparent icon that Draw paints with an antialiasing painter.
template <class F>
QImage DrawIcon(F Draw)
{
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Draw(p);
    return image;
}

QImage Folder(bool open)
{
    return DrawIcon([&](QPainter& p) {
        p.setPen(QColor(150, 110, 20));
        p.setBrush(QColor(240, 200, 90));
        p.drawRoundedRect(QRectF(1.5, 3.5, 6, 3), 1, 1);
        p.drawRect(QRectF(1.5, 5.5, 13, 8));
        if (open) {
            p.setBrush(QColor(250, 225, 130));
            const QPointF flap[] = {{3.5, 8.5}, {15.5, 8.5}, {13.5, 13.5}, {1.5, 13.5}};
            p.drawPolygon(flap, 4);
        }
    });
}

QImage Document()
{
    return DrawIcon([&](QPainter& p) {
        p.setPen(QColor(90, 100, 120));
        p.setBrush(Qt::white);
        const QPointF page[] = {{3.5, 1.5}, {10.5, 1.5}, {13.5, 4.5}, {13.5, 14.5}, {3.5, 14.5}};
        p.drawPolygon(page, 5);
        p.setPen(QColor(110, 140, 200));
        for (int y = 6; y <= 12; y += 2)
            p.drawLine(QPointF(5.5, y + 0.5), QPointF(11.5, y + 0.5));
    });
}

QImage Gear()
{
    return DrawIcon([&](QPainter& p) {
        QPainterPath teeth;
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            teeth.addEllipse(QPointF(8 + 5.5 * std::cos(a), 8 + 5.5 * std::sin(a)), 1.8, 1.8);
        }
        teeth.addEllipse(QPointF(8, 8), 5.2, 5.2);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(110, 120, 135));
        p.drawPath(teeth.simplified());
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 8), 2, 2);
    });
}

QImage Note()
{
    return DrawIcon([&](QPainter& p) {
        p.setPen(QColor(60, 120, 60));
        p.setBrush(QColor(170, 220, 150));
        p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
        p.drawLine(QPointF(5.5, 6.5), QPointF(10.5, 6.5));
        p.drawLine(QPointF(5.5, 9.5), QPointF(9.5, 9.5));
    });
}

} // namespace

TImageList* MakeDemoImages(TComponent* Owner)
{
    auto* images = new TImageList(Owner, Size, Size);
    for (const QImage& icon : {Folder(false), Folder(true), Document(), Gear(), Note()})
        images->AddImage(icon);
    return images;
}
