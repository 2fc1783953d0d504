// The common dialogs' responder and the file dialogs.
#include "platform/framework/Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <algorithm>
#include <utility>

#include "platform/framework/Forms.h"

namespace {

TDialogResponder& DialogResponder()
{
    static TDialogResponder responder;
    return responder;
}

// "Text|*.txt|Images|*.png;*.jpg" as Qt's "Text (*.txt)", "Images (*.png *.jpg)".
QStringList QtNameFilters(const std::string& Filter)
{
    const QStringList parts = QString::fromStdString(Filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    return filters;
}

std::string WithoutLeadingDot(const std::string& Ext)
{
    return !Ext.empty() && Ext.front() == '.' ? Ext.substr(1) : Ext;
}

std::string WithDefaultExt(const std::string& Name, const std::string& DefaultExt)
{
    const std::string ext = WithoutLeadingDot(DefaultExt);
    if (ext.empty() || Name.empty() || !QFileInfo(QString::fromStdString(Name)).suffix().isEmpty())
        return Name;
    return Name + "." + ext;
}

bool HasOtherExtension(const std::string& Name, const std::string& DefaultExt)
{
    const QString suffix = QFileInfo(QString::fromStdString(Name)).suffix();
    return suffix.compare(QString::fromStdString(WithoutLeadingDot(DefaultExt)), Qt::CaseInsensitive) != 0;
}

QFileDialog::FileMode QtFileMode(const TOpenOptions Options, bool Save)
{
    if (Save)
        return QFileDialog::AnyFile;
    if (Options.Contains(ofAllowMultiSelect))
        return QFileDialog::ExistingFiles;
    return Options.Contains(ofFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile;
}

void ConfigureFileDialog(QFileDialog& Dialog, const TOpenDialog& Source, bool Save, const QStringList& Filters)
{
    const TOpenOptions options = Source.Options();
    const std::string title = !Source.Title().empty() ? Source.Title() : Save ? "Save As" : "Open";
    Dialog.setWindowTitle(QString::fromStdString(title));
    Dialog.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    Dialog.setFileMode(QtFileMode(options, Save));
    Dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.Contains(ofOverwritePrompt));
    Dialog.setOption(QFileDialog::DontResolveSymlinks, options.Contains(ofNoDereferenceLinks));
    Dialog.setDefaultSuffix(QString::fromStdString(WithoutLeadingDot(Source.DefaultExt())));
    if (!Source.InitialDir().empty())
        Dialog.setDirectory(QString::fromStdString(Source.InitialDir()));
    if (!Filters.isEmpty()) {
        Dialog.setNameFilters(Filters);
        const int index = std::clamp(Source.FilterIndex(), 1, int(Filters.size())) - 1;
        Dialog.selectNameFilter(Filters[index]);
    }
    if (!Source.FileName().empty())
        Dialog.selectFile(QString::fromStdString(Source.FileName()));
}

// With ofCreatePrompt, a file to open that does not exist yet is made only when the user agrees.
bool CreateConfirmed(const QStringList& Files, TOpenOptions Options, bool Save)
{
    if (Save || !Options.Contains(ofCreatePrompt))
        return true;
    for (const QString& file : Files)
        if (!QFileInfo::exists(file)) {
            const std::string msg = file.toStdString() + " does not exist.\nCreate the file?";
            if (MessageDlg(msg, mtConfirmation, {mbYes, mbNo}, 0) != mrYes)
                return false;
        }
    return true;
}

} // namespace

TDialogResponder SetDialogResponder(TDialogResponder Responder)
{
    return std::exchange(DialogResponder(), std::move(Responder));
}

bool TCommonDialog::Execute()
{
    if (DialogResponder())
        return DialogResponder()(*this);
    return ExecuteQtDialog();
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute()
{
    FFiles->Clear();
    if (!TCommonDialog::Execute())
        return false;
    TakeChosenFiles();
    return true;
}

// Whoever answered filled FileName or Files; both end up naming the same files.
void TOpenDialog::TakeChosenFiles()
{
    if (FFiles->Count() == 0 && !FFileName.empty())
        FFiles->Add(FFileName);
    for (int i = 0; i < FFiles->Count(); ++i)
        FFiles->Put(i, WithDefaultExt(FFiles->Get(i), FDefaultExt));
    FFileName = FFiles->Count() > 0 ? FFiles->Get(0) : std::string();
    if (!FDefaultExt.empty() && HasOtherExtension(FFileName, FDefaultExt))
        FOptions.Include(ofExtensionDifferent);
    else
        FOptions.Exclude(ofExtensionDifferent);
}

bool TOpenDialog::ExecuteQtDialog()
{
    const bool save = IsSaveDialog();
    const QStringList filters = QtNameFilters(FFilter);
    QFileDialog dialog(QApplication::activeWindow());
    ConfigureFileDialog(dialog, *this, save, filters);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || !CreateConfirmed(chosen, FOptions, save))
        return false;
    for (const QString& file : chosen)
        FFiles->Add(file.toStdString());
    if (const int index = int(filters.indexOf(dialog.selectedNameFilter())); index >= 0)
        FFilterIndex = index + 1;
    return true;
}
