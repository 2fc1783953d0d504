#pragma once
// One item label as a line of text, shaped once for both its width and its drawing:
// shaping is the dearest part of painting a row. Every width of a label, measured for
// layout or for painting, comes from here, so that the two always agree.
#include <QPainter>
#include <QTextLayout>

namespace lxtree {

class TLabelLine {
public:
    // Blank space each side of the text in the label's box.
    static constexpr int kPadding = 2;

    TLabelLine(const QString& text, const QFont& font) : FLayout(text, font)
    {
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        FLayout.setTextOption(option);
        FLayout.setCacheEnabled(true);
        FLayout.beginLayout();
        FLine = FLayout.createLine();
        FLine.setLineWidth(0x3FFFFF);
        FLayout.endLayout();
    }
    int Width() const { return qRound(FLine.naturalTextWidth()); }
    // The width of the label's box: the text and its padding.
    int BoxWidth() const { return Width() + 2 * kPadding; }
    // Draws the text in the label's box, after the left padding.
    void DrawInBox(QPainter& p, const QRect& box) const { Draw(p, box.adjusted(kPadding, 0, 0, 0)); }
    // Left-aligned and centred vertically in the rectangle, and clipped to it when it
    // does not fit, as QPainter::drawText would.
    void Draw(QPainter& p, const QRect& r) const
    {
        const QPointF at(r.left(), r.top() + (r.height() - FLine.height()) / 2);
        if (FLine.height() <= r.height() && FLine.naturalTextWidth() <= r.width()) {
            FLayout.draw(&p, at);
            return;
        }
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
        FLayout.draw(&p, at);
        p.restore();
    }

private:
    QTextLayout FLayout;
    QTextLine FLine;
};

} // namespace lxtree
