// The nodes as the string property Data: the base64 text of the binary tree stream, the
// form in which a .ui file carries them.
#include <QByteArray>
#include <exception>

#include "platform/framework/Classes.h"
#include "widget/LxTreeViewWidget.h"

namespace {

// The first bytes of the binary tree stream. The control's reader would take anything
// else as the text form, which turns a cut or garbled stream into nodes of garbage.
const QByteArray TreeSignature("\x0DLXT\x0D", 5);

// The base64 text without the white space that a hand-edited file may have put into it.
QByteArray CompactBase64(const QString& Text)
{
    QByteArray compact;
    compact.reserve(Text.size());
    for (QChar c : Text)
        if (!c.isSpace())
            compact.append(c.unicode() < 0x80 ? char(c.unicode()) : '?');
    return compact;
}

} // namespace

QString LxTreeViewWidget::data() const
{
    if (holdsRejectedData())
        return FRejectedData;
    if (FTree->Items()->Count() == 0)
        return QString();
    TMemoryStream stream;
    FTree->SaveToStream(&stream, true);
    const QByteArray bytes(static_cast<const char*>(stream.Memory()), qsizetype(stream.Size()));
    return QString::fromLatin1(bytes.toBase64());
}

void LxTreeViewWidget::setData(const QString& value)
{
    FRejectedData.clear();
    FDataError.clear();
    const QByteArray base64 = CompactBase64(value);
    if (base64.isEmpty()) {
        FTree->Items()->Clear();
        return;
    }
    const auto decoded = QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return rejectData(value, "the text is not base64");
    const QByteArray& bytes = decoded.decoded;
    if (!bytes.startsWith(TreeSignature))
        return rejectData(value, "the text holds no binary tree stream");
    TMemoryStream stream;
    stream.WriteBuffer(bytes.constData(), bytes.size());
    stream.SetPosition(0);
    try {
        FTree->LoadFromStream(&stream);
    } catch (const std::exception& error) {
        rejectData(value, "the tree's reader rejected the stream: " + QString::fromUtf8(error.what()));
    }
}

void LxTreeViewWidget::resetData() { setData(QString()); }

QString LxTreeViewWidget::dataError() const { return holdsRejectedData() ? FDataError : QString(); }

// The reader may have read part of the tree before it gave up; none of it stays.
void LxTreeViewWidget::rejectData(const QString& text, const QString& reason)
{
    FTree->Items()->Clear();
    FRejectedData = text;
    FDataError = reason.isEmpty() ? QStringLiteral("the tree stream is not valid") : reason;
    qWarning("LxTreeViewWidget \"%s\": Data not loaded, the tree is empty: %s", qPrintable(objectName()),
             qPrintable(FDataError));
    emit dataRejected(FDataError);
}

// Rejected text stands for the tree until the tree gets nodes again.
bool LxTreeViewWidget::holdsRejectedData() const { return !FDataError.isEmpty() && FTree->Items()->Count() == 0; }
