#include "package/designer/LxTreeViewPlugin.h"

#include <QBitmap>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>
#include <utility>

#include "design/lxTreeViewRegister.h"
#include "package/designer/LxTreeViewTaskMenu.h"
#include "package/lxTreeView70.h"
#include "widget/LxTreeViewWidget.h"

namespace {

bool PackageStarted = false;

void FinalizePackage()
{
    if (std::exchange(PackageStarted, false))
        lxTreeView70::Finalize();
}

// The package is initialised and registered once, on the first question Designer asks.
// It is finalised when the application object goes, while the library's own objects are
// still there (the plugin itself is freed later, at the library's unloading).
const TPaletteEntry& TreeViewEntry()
{
    if (!PackageStarted) {
        lxTreeView70::Initialize();
        Register();
        PackageStarted = true;
        qAddPostRoutine(FinalizePackage);
    }
    return *FindPaletteEntry("TlxTreeView");
}

// A form whose stored tree could not be read opens with an empty tree; the developer
// hears of it once the form is up, not in the middle of its loading.
void WarnOfRejectedData(LxTreeViewWidget* widget)
{
    QObject::connect(widget, &LxTreeViewWidget::dataRejected, widget, [widget](const QString& message) {
        QPointer<LxTreeViewWidget> alive(widget);
        QTimer::singleShot(0, widget, [alive, message] {
            if (alive)
                QMessageBox::warning(alive->window(), QStringLiteral("lxTreeView"),
                                     QStringLiteral("The tree stored in %1 could not be read, so it shows empty. "
                                                    "Its stored data is kept as it was until you change the "
                                                    "nodes.\n\n%2")
                                         .arg(alive->objectName(), message));
        });
    });
}

} // namespace

LxTreeViewPlugin::LxTreeViewPlugin(QObject* parent) : QObject(parent) {}

LxTreeViewPlugin::~LxTreeViewPlugin() = default;

QString LxTreeViewPlugin::name() const { return QStringLiteral("LxTreeViewWidget"); }

QString LxTreeViewPlugin::group() const { return QString::fromStdString(TreeViewEntry().Page); }

QString LxTreeViewPlugin::toolTip() const { return QStringLiteral("TlxTreeView"); }

QString LxTreeViewPlugin::whatsThis() const
{
    return QString::fromStdString(lxTreeView70::GetPackageInfoTable().Description);
}

QString LxTreeViewPlugin::includeFile() const { return QStringLiteral("widget/LxTreeViewWidget.h"); }

QIcon LxTreeViewPlugin::icon() const
{
    // The palette bitmap's bottom-left colour is its transparent one.
    const QImage image(QStringLiteral(":/lxTreeView/TLXTREEVIEW.bmp"));
    if (image.isNull())
        return QIcon();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setMask(pixmap.createMaskFromColor(image.pixelColor(0, image.height() - 1), Qt::MaskInColor));
    return QIcon(pixmap);
}

QWidget* LxTreeViewPlugin::createWidget(QWidget* parent)
{
    auto* widget = new LxTreeViewWidget(parent);
    if (isInitialized()) // in Designer; an application's QUiLoader gets the warning alone
        WarnOfRejectedData(widget);
    return widget;
}

void LxTreeViewPlugin::initialize(QDesignerFormEditorInterface* core)
{
    if (m_core)
        return;
    TreeViewEntry();
    m_core = core;
    QExtensionManager* manager = core->extensionManager();
    manager->registerExtensions(new LxTreeViewTaskMenuFactory(core, manager), Q_TYPEID(QDesignerTaskMenuExtension));
}

QString LxTreeViewPlugin::domXml() const
{
    return QStringLiteral(
        "<ui language=\"c++\" displayname=\"TlxTreeView\">\n"
        " <widget class=\"LxTreeViewWidget\" name=\"lxTreeView\">\n"
        "  <property name=\"geometry\"><rect><x>0</x><y>0</y><width>200</width><height>250</height></rect></property>\n"
        " </widget>\n"
        " <customwidgets><customwidget><class>LxTreeViewWidget</class><propertyspecifications>\n"
        // The tree's stream is data, not text for translators.
        "  <stringpropertyspecification name=\"Data\" notr=\"true\" type=\"singleline\"/>\n"
        " </propertyspecifications></customwidget></customwidgets>\n"
        "</ui>\n");
}
