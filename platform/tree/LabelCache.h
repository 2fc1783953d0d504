#pragma once
// The shaped labels of recent paints. Shaping a label is the dearest part of painting
// a row, and the same labels are painted again and again (a hover, a selection, a
// scroll by a line, the paint that follows a layout), so each label is shaped once per
// font and kept while the cache has room. The text and the font are the key, so a
// changed text or font simply misses; a full cache is emptied and starts over.
#include <QFont>
#include <QHash>
#include <QString>
#include <memory>
#include <vector>

#include "platform/tree/LabelLine.h"

namespace lxtree {

class TLabelCache {
public:
    using TLabel = std::shared_ptr<const TLabelLine>;

    // The label for text in font, shaped now or earlier. The result stays valid after
    // the cache forgets it.
    TLabel Get(const QString& text, const QFont& font);
    void Clear();
    int Count() const { return FCount; }

    static constexpr int kMaxLabels = 2048;
    static constexpr std::size_t kMaxFonts = 8;

private:
    struct TFontLabels {
        QFont font;
        QHash<QString, TLabel> labels;
    };
    TFontLabels& LabelsFor(const QFont& font);

    std::vector<TFontLabels> FFonts;
    int FCount = 0;
};

} // namespace lxtree
