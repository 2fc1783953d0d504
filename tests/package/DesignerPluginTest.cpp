// The Qt Designer plugin as Qt loads it: the widget box entry it describes, the widget it
// makes, and forms read at run time through QUiLoader with the plugin making the tree.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>
#include <QUiLoader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

#include "design/lxTreeViewRegister.h"
#include "tests/widget/WidgetSupport.h"
#include "ui_DesignerForm.h"

namespace {

QDesignerCustomWidgetInterface* Plugin()
{
    static QPluginLoader loader(LX_DESIGNER_PLUGIN);
    return qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
}

// A QUiLoader that finds its custom widgets in the plugin's folder only.
std::unique_ptr<QUiLoader> PluginLoader()
{
    auto loader = std::make_unique<QUiLoader>();
    loader->clearPluginPaths();
    loader->addPluginPath(QFileInfo(LX_DESIGNER_PLUGIN).absolutePath());
    return loader;
}

// The nodes typed into the item editor when DesignerForm.ui was made in Qt Designer.
const std::vector<std::string> DesignerFormOutline = {"0 Documents 0 0", "1 Letters 0 0", "1 Invoices 0 0",
                                                     "1 Reports 0 0"};

std::unique_ptr<QWidget> Load(QUiLoader& Loader, QIODevice& Form)
{
    return std::unique_ptr<QWidget>(Loader.load(&Form));
}

} // namespace

TEST(DesignerPlugin, DescribesTheTreeForTheWidgetBox)
{
    QDesignerCustomWidgetInterface* plugin = Plugin();
    ASSERT_NE(plugin, nullptr) << QPluginLoader(LX_DESIGNER_PLUGIN).errorString().toStdString();
    EXPECT_EQ(plugin->name(), "LxTreeViewWidget");
    EXPECT_EQ(plugin->group(), "Vornak"); // asking registers the package
    ASSERT_NE(FindPaletteEntry("TlxTreeView"), nullptr);
    EXPECT_EQ(FindPaletteEntry("TlxTreeView")->Page, "Vornak");
    EXPECT_EQ(plugin->includeFile(), "widget/LxTreeViewWidget.h");
    EXPECT_FALSE(plugin->isContainer());
    const QIcon icon = plugin->icon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().value(0), QSize(24, 24));
    // The palette bitmap's bottom-left colour is left out.
    const QImage image = icon.pixmap(24, 24).toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 23)), 0);
    EXPECT_TRUE(plugin->domXml().contains("<widget class=\"LxTreeViewWidget\""));
    EXPECT_TRUE(plugin->domXml().contains("name=\"Data\" notr=\"true\""));

    std::unique_ptr<QWidget> made(plugin->createWidget(nullptr));
    auto* widget = qobject_cast<LxTreeViewWidget*>(made.get());
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->tree()->Items()->Count(), 0);
}

TEST(DesignerPlugin, FormsLoadedAtRunTimeGetTheirTreeFromThePlugin)
{
    ASSERT_NE(Plugin(), nullptr);
    std::unique_ptr<QUiLoader> loader = PluginLoader();
    EXPECT_TRUE(loader->availableWidgets().contains("LxTreeViewWidget"));
    QFile file(LX_NODES_FORM);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> form = Load(*loader, file);
    ASSERT_NE(form, nullptr) << loader->errorString().toStdString();
    auto* nodes = form->findChild<LxTreeViewWidget*>("nodes");
    ASSERT_NE(nodes, nullptr);
    EXPECT_EQ(Outline(nodes->tree()->Items()), FormTreeOutline());
    EXPECT_EQ(nodes->options(), FormOptions());
}

TEST(DesignerPlugin, AFormWithBrokenDataLoadsWithAnEmptyTreeAndKeepsTheText)
{
    ASSERT_NE(Plugin(), nullptr);
    const QByteArray form = R"(<ui version="4.0"><class>Broken</class>
 <widget class="QWidget" name="Broken">
  <widget class="LxTreeViewWidget" name="tree">
   <property name="Data" stdset="0"><string notr="true">DUxYVA0AAQAAAG0AAAD</string></property>
  </widget>
 </widget>
 <customwidgets><customwidget><class>LxTreeViewWidget</class><extends>QWidget</extends>
  <header>widget/LxTreeViewWidget.h</header></customwidget></customwidgets>
</ui>)";
    QBuffer buffer;
    buffer.setData(form);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    std::unique_ptr<QUiLoader> loader = PluginLoader();
    TWarnings warnings;
    std::unique_ptr<QWidget> loaded = Load(*loader, buffer);
    ASSERT_NE(loaded, nullptr);
    auto* tree = loaded->findChild<LxTreeViewWidget*>("tree");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->tree()->Items()->Count(), 0);
    EXPECT_FALSE(tree->dataError().isEmpty());
    EXPECT_EQ(tree->data(), "DUxYVA0AAQAAAG0AAAD"); // saved again, the form keeps it
    EXPECT_EQ(warnings.Texts().size(), 1);
}

// DesignerForm.ui was saved by Qt Designer after a tree was placed from the widget box
// and given its nodes in the item editor (scripts/designer-screenshot.sh makes it so).
TEST(DesignerPlugin, AFormMadeInDesignerShowsItsTreeThroughUicAndQUiLoader)
{
    QDialog compiled;
    Ui::DesignerForm ui;
    ui.setupUi(&compiled);
    EXPECT_EQ(Outline(ui.lxTreeView->tree()->Items()), DesignerFormOutline);

    ASSERT_NE(Plugin(), nullptr);
    std::unique_ptr<QUiLoader> loader = PluginLoader();
    QFile file(LX_DESIGNER_FORM);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    std::unique_ptr<QWidget> loaded = Load(*loader, file);
    ASSERT_NE(loaded, nullptr);
    auto* tree = loaded->findChild<LxTreeViewWidget*>("lxTreeView");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(Outline(tree->tree()->Items()), DesignerFormOutline);
    EXPECT_EQ(tree->data(), ui.lxTreeView->data());
}
