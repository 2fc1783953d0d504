#pragma once
// The task menu of a tree placed in Qt Designer: the component editor's commands in its
// order (a double click runs the first), then the Items property editor. The commands
// change the placed tree; the designer stand-in below turns their Modified into a changed
// "Data" property and a form that needs saving.
#include <QAction>
#include <QString>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>

#include "platform/framework/DesignIntf.h"

class LxTreeViewWidget;
class QDesignerFormEditorInterface;

// What the editors tell the designer, for one placed tree.
class LxTreeViewDesigner : public IDesigner {
public:
    LxTreeViewDesigner(QDesignerFormEditorInterface* core, LxTreeViewWidget* widget) : m_core(core), m_widget(widget) {}
    // Notes the tree as it is before an editor's command, for the undo of what it changes.
    void CommandStarts();
    void Modified() override;

private:
    QDesignerFormEditorInterface* m_core;
    LxTreeViewWidget* m_widget;
    QString m_before;
};

class LxTreeViewTaskMenu : public QObject, public QDesignerTaskMenuExtension {
    Q_OBJECT
    Q_INTERFACES(QDesignerTaskMenuExtension)
public:
    LxTreeViewTaskMenu(QDesignerFormEditorInterface* core, LxTreeViewWidget* widget, QObject* parent);
    QAction* preferredEditAction() const override;
    QList<QAction*> taskActions() const override { return m_actions; }

private:
    QAction* AddAction(const QString& text, void (LxTreeViewTaskMenu::*run)(int), int index);
    void RunVerb(int index);
    void EditItems(int);
    // Runs an editor's command; an error shows in a message box, as Designer shows its own.
    template <class F>
    void Guarded(F command);

    LxTreeViewWidget* m_widget;
    LxTreeViewDesigner m_designer;
    QList<QAction*> m_actions;
    QAction* m_firstVerb = nullptr;
};

class LxTreeViewTaskMenuFactory : public QExtensionFactory {
    Q_OBJECT
public:
    LxTreeViewTaskMenuFactory(QDesignerFormEditorInterface* core, QExtensionManager* parent)
        : QExtensionFactory(parent), m_core(core)
    {
    }

protected:
    QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;

private:
    QDesignerFormEditorInterface* m_core;
};
