#pragma once
// The tree view in Qt Designer: the widget box entry (in the palette page that the
// package's registration names, with the palette bitmap), the widget Designer places, and
// the task menu of a placed tree. Loading the plugin initialises the package and
// registers it once.
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class LxTreeViewPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    explicit LxTreeViewPlugin(QObject* parent = nullptr);
    ~LxTreeViewPlugin() override;

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return m_core != nullptr; }
    void initialize(QDesignerFormEditorInterface* core) override;
    QString domXml() const override;

private:
    QDesignerFormEditorInterface* m_core = nullptr;
};
