#include "package/designer/LxTreeViewTaskMenu.h"

#include <QMessageBox>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <exception>

#include "widget/LxTreeViewWidget.h"

void LxTreeViewDesigner::CommandStarts() { m_before = m_widget->data(); }

void LxTreeViewDesigner::Modified()
{
    QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(m_widget);
    if (!form)
        return;
    // Set through the form's cursor, the change is a command of Designer's undo stack and
    // the property counts as changed. The command takes the value it replaces from the
    // widget, so the tree goes back to how it was for a moment.
    const QString after = m_widget->data();
    m_widget->setData(m_before);
    form->cursor()->setWidgetProperty(m_widget, QStringLiteral("Data"), after);
    m_before = after;
    form->setDirty(true);
    if (QDesignerPropertyEditorInterface* editor = m_core->propertyEditor(); editor && editor->object() == m_widget)
        editor->setObject(m_widget);
}

LxTreeViewTaskMenu::LxTreeViewTaskMenu(QDesignerFormEditorInterface* core, LxTreeViewWidget* widget, QObject* parent)
    : QObject(parent), m_widget(widget), m_designer(core, widget)
{
    const std::unique_ptr<TComponentEditor> editor = GetComponentEditor(widget->tree(), &m_designer);
    for (int i = 0; i < editor->GetVerbCount(); ++i) {
        QAction* action = AddAction(QString::fromStdString(editor->GetVerb(i)), &LxTreeViewTaskMenu::RunVerb, i);
        if (i == 0)
            m_firstVerb = action;
    }
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    m_actions.append(separator);
    AddAction(QStringLiteral("Items..."), &LxTreeViewTaskMenu::EditItems, 0);
}

QAction* LxTreeViewTaskMenu::AddAction(const QString& text, void (LxTreeViewTaskMenu::*run)(int), int index)
{
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, [this, run, index] { (this->*run)(index); });
    m_actions.append(action);
    return action;
}

QAction* LxTreeViewTaskMenu::preferredEditAction() const { return m_firstVerb; }

template <class F>
void LxTreeViewTaskMenu::Guarded(F command)
{
    try {
        m_designer.CommandStarts();
        command();
    } catch (const std::exception& e) {
        QMessageBox::critical(m_widget->window(), QStringLiteral("lxTreeView"), QString::fromUtf8(e.what()));
    }
}

// Editors are made for each use, as the registry expects.
void LxTreeViewTaskMenu::RunVerb(int index)
{
    Guarded([&] { GetComponentEditor(m_widget->tree(), &m_designer)->ExecuteVerb(index); });
}

void LxTreeViewTaskMenu::EditItems(int)
{
    Guarded([&] {
        if (std::unique_ptr<TPropertyEditor> items = GetPropertyEditor(&m_designer, m_widget->tree(), "Items"))
            items->Edit();
    });
}

QObject* LxTreeViewTaskMenuFactory::createExtension(QObject* object, const QString& iid, QObject* parent) const
{
    auto* widget = qobject_cast<LxTreeViewWidget*>(object);
    if (!widget || iid != Q_TYPEID(QDesignerTaskMenuExtension))
        return nullptr;
    return new LxTreeViewTaskMenu(m_core, widget, parent);
}
