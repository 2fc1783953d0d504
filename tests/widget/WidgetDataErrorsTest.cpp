// Data that cannot be loaded: the tree stays empty, a warning names the widget and the
// reason, and the text is kept as it was until the tree gets nodes again.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>
#include <cstdint>
#include <cstring>

#include "tests/widget/WidgetSupport.h"

namespace {

// The binary stream of FillFormTree's nodes.
QByteArray FormTreeStream()
{
    LxTreeViewWidget widget;
    widget.setOptions(FormOptions());
    FillFormTree(widget.tree()->Items());
    return QByteArray::fromBase64(widget.data().toLatin1());
}

// The stream with its top-level node count replaced; the count follows the 5-byte
// signature and the collection's check type byte.
QByteArray WithTopLevelCount(QByteArray Stream, std::int32_t Count)
{
    std::memcpy(Stream.data() + 6, &Count, sizeof Count);
    return Stream;
}

QString Base64(const QByteArray& Bytes) { return QString::fromLatin1(Bytes.toBase64()); }

// Sets Text as Data on a widget that holds a tree, and checks what a rejection leaves.
void ExpectRejected(const QString& Text, const char* Reason)
{
    SCOPED_TRACE(Reason);
    LxTreeViewWidget widget;
    widget.setObjectName("broken");
    widget.setOptions(FormOptions());
    FillFormTree(widget.tree()->Items());
    TWarnings warnings;
    QStringList reasons;
    QObject::connect(&widget, &LxTreeViewWidget::dataRejected, [&](const QString& reason) { reasons << reason; });
    ASSERT_TRUE(widget.setProperty("Data", Text));
    EXPECT_EQ(widget.tree()->Items()->Count(), 0);
    EXPECT_EQ(widget.tree()->Items()->GetFirstNode(), nullptr);
    EXPECT_EQ(widget.property("Data").toString(), Text);
    const QString error = widget.dataError();
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(reasons, QStringList{error});
    ASSERT_EQ(warnings.Texts().size(), 1);
    EXPECT_TRUE(warnings.Texts()[0].contains("\"broken\"")) << warnings.Texts()[0].toStdString();
    EXPECT_TRUE(warnings.Texts()[0].contains(error)) << warnings.Texts()[0].toStdString();
}

} // namespace

TEST(WidgetDataErrors, UnreadableDataLeavesAnEmptyTreeAWarningAndTheTextAsItWas)
{
    const QByteArray stream = FormTreeStream();
    ExpectRejected("this is not base64!", "not base64");
    ExpectRejected(Base64("Documents\n\tLetters\n"), "the text form, not the binary one");
    ExpectRejected(Base64(stream.left(3)), "a cut signature");
    ExpectRejected(Base64(stream.left(stream.size() - 7)), "the last node cut short");
    ExpectRejected(Base64(WithTopLevelCount(stream, 0x7FFFFFFF)), "a huge node count");
    QByteArray badCheckType = stream;
    badCheckType[5] = char(200);
    ExpectRejected(Base64(badCheckType), "an unknown check type");
}

TEST(WidgetDataErrors, RejectedTextStandsUntilTheTreeChangesOrValidDataComes)
{
    LxTreeViewWidget widget;
    widget.setOptions(FormOptions());
    const QString good = Base64(FormTreeStream());
    const QString bad = Base64(FormTreeStream().left(100));
    {
        TWarnings warnings;
        widget.setData(bad);
        EXPECT_EQ(warnings.Texts().size(), 1);
    }
    // Clearing an empty tree changes nothing.
    widget.tree()->Items()->Clear();
    EXPECT_EQ(widget.data(), bad);

    widget.tree()->Items()->Add(nullptr, "New");
    EXPECT_EQ(widget.dataError(), QString());
    EXPECT_NE(widget.data(), bad);
    EXPECT_EQ(Outline(widget.tree()->Items()), std::vector<std::string>{"0 New 0 0"});

    {
        TWarnings warnings;
        widget.setData(bad);
    }
    widget.setData(good);
    EXPECT_EQ(widget.dataError(), QString());
    EXPECT_EQ(widget.data(), good);
    widget.resetData();
    EXPECT_EQ(widget.data(), QString());
    EXPECT_EQ(widget.tree()->Items()->Count(), 0);
}

TEST(WidgetDataErrors, WhiteSpaceInsideTheTextIsIgnored)
{
    const QString good = Base64(FormTreeStream());
    QString wrapped;
    for (int at = 0; at < good.size(); at += 60)
        wrapped += "\n    " + good.mid(at, 60);
    LxTreeViewWidget widget;
    widget.setOptions(FormOptions());
    widget.setData(wrapped + "\n");
    EXPECT_EQ(widget.dataError(), QString());
    EXPECT_EQ(Outline(widget.tree()->Items()), FormTreeOutline());
    EXPECT_EQ(widget.data(), good);
}
