// QTreeWidget and QTreeView over a QStandardItemModel, used as their users would.
#include <QApplication>
#include <QDialog>
#include <QDataStream>
#include <QIODevice>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QHeaderView>
#include <QStandardItemModel>
#include <QTreeView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <vector>

#include "bench/Subjects.h"

namespace bench {
namespace {

constexpr int WindowWidth = 400, WindowHeight = 600;

template <typename T>
void ShowLikeAnApplication(T* view)
{
    view->setHeaderHidden(true);
    view->resize(WindowWidth, WindowHeight);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->show();
    QApplication::processEvents();
}

// Selects every row of the tree, children of collapsed parents too: one range of rows
// per parent, as the selection model keeps them.
void SelectEveryRow(QAbstractItemView* view)
{
    QAbstractItemModel* model = view->model();
    QItemSelection selection;
    std::vector<QModelIndex> parents{QModelIndex()};
    while (!parents.empty()) {
        const QModelIndex parent = parents.back();
        parents.pop_back();
        const int rows = model->rowCount(parent);
        if (rows == 0)
            continue;
        selection.select(model->index(0, 0, parent), model->index(rows - 1, 0, parent));
        for (int r = 0; r < rows; ++r) {
            const QModelIndex child = model->index(r, 0, parent);
            if (model->hasChildren(child))
                parents.push_back(child);
        }
    }
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The nearest a Qt view comes to printing itself: the viewport's screenfuls composed
// into one picture while it scrolls by pixels, stretched onto a PDF page.
void PrintViewToPdf(QTreeView* view, const QString& path)
{
    const QAbstractItemView::ScrollMode mode = view->verticalScrollMode();
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QScrollBar* bar = view->verticalScrollBar();
    const int screen = view->viewport()->height();
    QImage picture(view->viewport()->width(), bar->maximum() + screen, QImage::Format_RGB888);
    {
        QPainter painter(&picture);
        for (int y = 0; y < picture.height(); y += screen) {
            bar->setValue(y);
            painter.drawPixmap(0, bar->value(), view->viewport()->grab());
        }
    }
    view->setVerticalScrollMode(mode);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setResolution(600);
    printer.setFullPage(true);
    QPainter painter(&printer);
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double dotsPerMm = 600 / 25.4;
    const int width = qRound(100 * dotsPerMm);
    painter.drawImage(QRect(qRound(10 * dotsPerMm), qRound(10 * dotsPerMm), width,
                            qRound(double(picture.height()) * width / picture.width())),
                      picture);
}

void SendMouse(QTreeView* view, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
               Qt::KeyboardModifiers keys)
{
    QWidget* viewport = view->viewport();
    QMouseEvent event(type, at, viewport->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(viewport, &event);
}

void ClickAt(QTreeView* view, QPoint at, Qt::KeyboardModifiers keys)
{
    SendMouse(view, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, keys);
    SendMouse(view, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, keys);
}

QPoint CentreOf(QTreeView* view, const QModelIndex& index) { return view->visualRect(index).center(); }

// The last visible row: the last top-level row, then the last child while expanded.
QModelIndex LastRow(QTreeView* view)
{
    QAbstractItemModel* model = view->model();
    QModelIndex last = model->index(model->rowCount() - 1, 0);
    while (view->isExpanded(last) && model->rowCount(last) > 0)
        last = model->index(model->rowCount(last) - 1, 0, last);
    return last;
}

void DragOver(QTreeView* view)
{
    const QPoint top = CentreOf(view, view->indexAt(QPoint(4, 4)));
    const QPoint bottom(top.x(), view->viewport()->height() - 4);
    SendMouse(view, QEvent::MouseButtonPress, top, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    SendMouse(view, QEvent::MouseMove, bottom, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    SendMouse(view, QEvent::MouseButtonRelease, bottom, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
}

void SelectChildren(QTreeView* view, int parents)
{
    QAbstractItemModel* model = view->model();
    QItemSelection selection;
    for (int p = 0; p < parents && p < model->rowCount(); ++p) {
        const QModelIndex parent = model->index(p, 0);
        selection.select(model->index(0, 0, parent), model->index(model->rowCount(parent) - 1, 0, parent));
    }
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

// The sort of the application's own comparison: the Qt views call operator< of
// their items, so items of these classes compare SortKey of the value they hold in
// Qt::UserRole, or (for QTreeWidget, which has no sort role) the value itself.
bool SortingByKey = false;
bool ValueLess(const QVariant& a, const QVariant& b)
{
    return SortingByKey ? SortKey(a.toInt()) < SortKey(b.toInt()) : a.toInt() < b.toInt();
}

class TValueWidgetItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return ValueLess(data(0, Qt::UserRole), other.data(0, Qt::UserRole));
    }
};

class TKeyStandardItem : public QStandardItem {
public:
    using QStandardItem::QStandardItem;
    bool operator<(const QStandardItem& other) const override
    {
        return SortingByKey ? ValueLess(data(Qt::UserRole), other.data(Qt::UserRole))
                            : QStandardItem::operator<(other);
    }
};

// ---- QTreeWidget ----

void WriteItem(QDataStream& out, const QTreeWidgetItem* item)
{
    out << item->text(0) << qint32(item->childCount());
    for (int i = 0; i < item->childCount(); ++i)
        WriteItem(out, item->child(i));
}

void ReadItem(QDataStream& in, QTreeWidgetItem* item)
{
    QString text;
    qint32 count = 0;
    in >> text >> count;
    item->setText(0, text);
    for (qint32 i = 0; i < count; ++i)
        ReadItem(in, new QTreeWidgetItem(item));
}

// The Qt views' nearest equivalent of the item editor: a dialog of the editor's size with
// a second view of a copy of the tree, accepted at once, and the copy taken back into the
// first view; the dialog is gone before the time stops.
template <class MakeCopy, class TakeBack>
void EditCopyInDialog(MakeCopy makeCopy, TakeBack takeBack, double& openMs, double& confirmMs)
{
    QElapsedTimer started;
    started.start();
    auto dialog = std::make_unique<QDialog>();
    dialog->resize(752, 555);
    QWidget* copy = makeCopy(dialog.get());
    copy->setGeometry(7, 13, 366, 514);
    TimeModalDialog(
        started, [&] { dialog->accept(); }, [&] { dialog->exec(); },
        [&] {
            takeBack(copy);
            dialog.reset();
        },
        openMs, confirmMs);
}

QList<QTreeWidgetItem*> CloneTopLevel(QTreeWidget* tree)
{
    QList<QTreeWidgetItem*> items;
    items.reserve(tree->topLevelItemCount());
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        items.append(tree->topLevelItem(i)->clone());
    return items;
}

QList<QStandardItem*> CloneRows(QStandardItem* parent)
{
    QList<QStandardItem*> rows;
    rows.reserve(parent->rowCount());
    for (int r = 0; r < parent->rowCount(); ++r) {
        QStandardItem* item = parent->child(r);
        QStandardItem* copy = item->clone();
        if (item->hasChildren())
            copy->appendRows(CloneRows(item));
        rows.append(copy);
    }
    return rows;
}

class TTreeWidgetSubject : public TSubject {
public:
    TTreeWidgetSubject() { ShowLikeAnApplication(&FTree); }
    const char* Name() const override { return "QTreeWidget"; }
    QWidget* View() override { return &FTree; }
    void PrintToPdf(const QString& path) override { PrintViewToPdf(&FTree, path); }

    void BuildOneByOne(const TShape& shape) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        FTree.setUpdatesEnabled(false);
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new QTreeWidgetItem(&FTree, QStringList(QString::fromStdString(ParentText(p))));
            for (int c = 0; c < shape.perParent; ++c)
                new QTreeWidgetItem(parent, QStringList(QString::fromStdString(texts[std::size_t(c)])));
        }
        FTree.setUpdatesEnabled(true);
    }
    bool BuildBulk(const TShape& shape) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        QList<QTreeWidgetItem*> parents;
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new QTreeWidgetItem(QStringList(QString::fromStdString(ParentText(p))));
            QList<QTreeWidgetItem*> children;
            children.reserve(shape.perParent);
            for (int c = 0; c < shape.perParent; ++c)
                children.append(new QTreeWidgetItem(QStringList(QString::fromStdString(texts[std::size_t(c)]))));
            parent->addChildren(children);
            parents.append(parent);
        }
        FTree.addTopLevelItems(parents);
        return true;
    }
    long Walk() override
    {
        long n = 0;
        for (QTreeWidgetItemIterator it(&FTree); *it; ++it)
            ++n;
        return n;
    }
    bool ReadByIndex(long&) override { return false; }
    void ExpandAll() override { FTree.expandAll(); }
    void CollapseAll() override { FTree.collapseAll(); }
    void ScrollToTop() override { FTree.scrollToTop(); }
    void ScrollToLast() override { FTree.scrollToBottom(); }
    void SortTopLevelChildren() override
    {
        for (int i = 0; i < FTree.topLevelItemCount(); ++i)
            FTree.topLevelItem(i)->sortChildren(0, Qt::AscendingOrder);
    }
    bool Save(const char* form, QByteArray& data) override
    {
        if (std::string(form) != "binary")
            return false;
        data.clear();
        QDataStream out(&data, QIODevice::WriteOnly);
        out << qint32(FTree.topLevelItemCount());
        for (int i = 0; i < FTree.topLevelItemCount(); ++i)
            WriteItem(out, FTree.topLevelItem(i));
        return true;
    }
    bool Load(const char* form, const QByteArray& data) override
    {
        if (std::string(form) != "binary")
            return false;
        FTree.clear();
        QDataStream in(data);
        qint32 count = 0;
        in >> count;
        QList<QTreeWidgetItem*> items;
        for (qint32 i = 0; i < count; ++i) {
            auto* item = new QTreeWidgetItem;
            ReadItem(in, item);
            items.append(item);
        }
        FTree.addTopLevelItems(items);
        return true;
    }
    bool SelectAll() override
    {
        SelectEveryRow(&FTree);
        return true;
    }
    bool ClearSelection() override
    {
        FTree.clearSelection();
        return true;
    }
    void ClickTopRow() override { ClickAt(&FTree, CentreOf(&FTree, FTree.indexAt(QPoint(4, 4))), Qt::NoModifier); }
    void ShiftClickLastRow() override { ClickAt(&FTree, CentreOf(&FTree, LastRow(&FTree)), Qt::ShiftModifier); }
    void DragOverView() override { DragOver(&FTree); }
    void SelectChildrenOf(int parents) override { SelectChildren(&FTree, parents); }
    // Deleting the selected items one by one takes minutes (each deletion updates the
    // selection); a user deletes the selected ranges, whole child lists at once.
    void DeleteSelected() override
    {
        const QItemSelection selection = FTree.selectionModel()->selection();
        for (auto range = selection.crbegin(); range != selection.crend(); ++range) {
            QTreeWidgetItem* parent = FTree.itemFromIndex(range->parent());
            if (!parent)
                parent = FTree.invisibleRootItem();
            if (range->top() == 0 && range->height() == parent->childCount()) {
                qDeleteAll(parent->takeChildren());
                continue;
            }
            for (int row = range->bottom(); row >= range->top(); --row)
                delete parent->takeChild(row);
        }
    }
    void DeleteAll() override { FTree.clear(); }
    void EditInDialog(double& openMs, double& confirmMs) override
    {
        const auto makeCopy = [this](QWidget* dialog) {
            auto* copy = new QTreeWidget(dialog);
            copy->addTopLevelItems(CloneTopLevel(&FTree));
            return copy;
        };
        const auto takeBack = [this](QWidget* copy) {
            FTree.clear();
            FTree.addTopLevelItems(CloneTopLevel(static_cast<QTreeWidget*>(copy)));
        };
        EditCopyInDialog(makeCopy, takeBack, openMs, confirmMs);
    }
    long Count() override { return Walk(); }

    void BuildWithValues(const TShape& shape, const std::vector<int>& values) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        std::size_t i = 0;
        FTree.setUpdatesEnabled(false);
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new TValueWidgetItem(&FTree, QStringList(QString::fromStdString(ParentText(p))));
            parent->setData(0, Qt::UserRole, values[i++]);
            for (int c = 0; c < shape.perParent; ++c) {
                auto* child = new TValueWidgetItem(parent, QStringList(QString::fromStdString(texts[std::size_t(c)])));
                child->setData(0, Qt::UserRole, values[i++]);
            }
        }
        FTree.setUpdatesEnabled(true);
    }
    // sortItems sorts every level with the items' operator<.
    void SortEveryLevelByValue() override { FTree.sortItems(0, Qt::AscendingOrder); }
    void SortEveryLevelByHandler() override
    {
        SortingByKey = true;
        FTree.sortItems(0, Qt::AscendingOrder);
        SortingByKey = false;
    }
    void GatherUnderFirst(int n) override
    {
        for (int i = 1; i < n && FTree.topLevelItemCount() > 1; ++i)
            FTree.topLevelItem(0)->addChild(FTree.takeTopLevelItem(1));
    }
    void MoveFirstSubtree() override
    {
        QTreeWidgetItem* first = FTree.takeTopLevelItem(0);
        FTree.topLevelItem(FTree.topLevelItemCount() - 1)->addChild(first);
    }
    void MoveChildrenOneByOne(int n) override
    {
        QTreeWidgetItem* from = FTree.topLevelItem(0);
        QTreeWidgetItem* to = FTree.topLevelItem(1);
        for (int i = 0; i < n && from->childCount() > 0; ++i)
            to->addChild(from->takeChild(0));
    }

private:
    QTreeWidget FTree;
};

// ---- QTreeView over QStandardItemModel ----

void WriteItem(QDataStream& out, const QStandardItem* item)
{
    out << item->text() << qint32(item->rowCount());
    for (int i = 0; i < item->rowCount(); ++i)
        WriteItem(out, item->child(i));
}

QStandardItem* ReadStandardItem(QDataStream& in)
{
    QString text;
    qint32 count = 0;
    in >> text >> count;
    auto* item = new QStandardItem(text);
    QList<QStandardItem*> children;
    for (qint32 i = 0; i < count; ++i)
        children.append(ReadStandardItem(in));
    if (!children.isEmpty())
        item->appendRows(children);
    return item;
}

class TTreeViewSubject : public TSubject {
public:
    TTreeViewSubject()
    {
        FView.setModel(&FModel);
        ShowLikeAnApplication(&FView);
    }
    const char* Name() const override { return "QTreeView"; }
    QWidget* View() override { return &FView; }
    void PrintToPdf(const QString& path) override { PrintViewToPdf(&FView, path); }

    void BuildOneByOne(const TShape& shape) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        FView.setUpdatesEnabled(false);
        QStandardItem* root = FModel.invisibleRootItem();
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new QStandardItem(QString::fromStdString(ParentText(p)));
            root->appendRow(parent);
            for (int c = 0; c < shape.perParent; ++c)
                parent->appendRow(new QStandardItem(QString::fromStdString(texts[std::size_t(c)])));
        }
        FView.setUpdatesEnabled(true);
    }
    bool BuildBulk(const TShape& shape) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        QList<QStandardItem*> parents;
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new QStandardItem(QString::fromStdString(ParentText(p)));
            QList<QStandardItem*> children;
            children.reserve(shape.perParent);
            for (int c = 0; c < shape.perParent; ++c)
                children.append(new QStandardItem(QString::fromStdString(texts[std::size_t(c)])));
            parent->appendRows(children);
            parents.append(parent);
        }
        FModel.invisibleRootItem()->appendRows(parents);
        return true;
    }
    long Walk() override
    {
        long n = 0;
        WalkUnder(QModelIndex(), n);
        return n;
    }
    bool ReadByIndex(long&) override { return false; }
    void ExpandAll() override { FView.expandAll(); }
    void CollapseAll() override { FView.collapseAll(); }
    void ScrollToTop() override { FView.scrollToTop(); }
    void ScrollToLast() override { FView.scrollToBottom(); }
    void SortTopLevelChildren() override
    {
        QStandardItem* root = FModel.invisibleRootItem();
        for (int i = 0; i < root->rowCount(); ++i)
            root->child(i)->sortChildren(0, Qt::AscendingOrder);
    }
    bool Save(const char* form, QByteArray& data) override
    {
        if (std::string(form) != "binary")
            return false;
        data.clear();
        QDataStream out(&data, QIODevice::WriteOnly);
        QStandardItem* root = FModel.invisibleRootItem();
        out << qint32(root->rowCount());
        for (int i = 0; i < root->rowCount(); ++i)
            WriteItem(out, root->child(i));
        return true;
    }
    bool Load(const char* form, const QByteArray& data) override
    {
        if (std::string(form) != "binary")
            return false;
        FModel.clear();
        QDataStream in(data);
        qint32 count = 0;
        in >> count;
        QList<QStandardItem*> items;
        for (qint32 i = 0; i < count; ++i)
            items.append(ReadStandardItem(in));
        FModel.invisibleRootItem()->appendRows(items);
        return true;
    }
    bool SelectAll() override
    {
        SelectEveryRow(&FView);
        return true;
    }
    bool ClearSelection() override
    {
        FView.clearSelection();
        return true;
    }
    void ClickTopRow() override { ClickAt(&FView, CentreOf(&FView, FView.indexAt(QPoint(4, 4))), Qt::NoModifier); }
    void ShiftClickLastRow() override { ClickAt(&FView, CentreOf(&FView, LastRow(&FView)), Qt::ShiftModifier); }
    void DragOverView() override { DragOver(&FView); }
    void SelectChildrenOf(int parents) override { SelectChildren(&FView, parents); }
    // The selected ranges go from the last to the first, so the rows of the earlier
    // ones keep their numbers.
    void DeleteSelected() override
    {
        const QItemSelection selection = FView.selectionModel()->selection();
        for (auto range = selection.crbegin(); range != selection.crend(); ++range)
            FModel.removeRows(range->top(), range->height(), range->parent());
    }
    void DeleteAll() override { FModel.clear(); }
    void EditInDialog(double& openMs, double& confirmMs) override
    {
        const auto makeCopy = [this](QWidget* dialog) {
            auto* model = new QStandardItemModel(dialog);
            model->invisibleRootItem()->appendRows(CloneRows(FModel.invisibleRootItem()));
            auto* copy = new QTreeView(dialog);
            copy->setModel(model);
            return copy;
        };
        const auto takeBack = [this](QWidget* copy) {
            auto* model = static_cast<QStandardItemModel*>(static_cast<QTreeView*>(copy)->model());
            FModel.clear();
            FModel.invisibleRootItem()->appendRows(CloneRows(model->invisibleRootItem()));
        };
        EditCopyInDialog(makeCopy, takeBack, openMs, confirmMs);
    }
    long Count() override { return Walk(); }

    void BuildWithValues(const TShape& shape, const std::vector<int>& values) override
    {
        const auto& texts = ChildTexts(shape.perParent);
        std::size_t i = 0;
        FView.setUpdatesEnabled(false);
        QStandardItem* root = FModel.invisibleRootItem();
        for (int p = 0; p < shape.topLevel; ++p) {
            auto* parent = new TKeyStandardItem(QString::fromStdString(ParentText(p)));
            parent->setData(values[i++], Qt::UserRole);
            root->appendRow(parent);
            for (int c = 0; c < shape.perParent; ++c) {
                auto* child = new TKeyStandardItem(QString::fromStdString(texts[std::size_t(c)]));
                child->setData(values[i++], Qt::UserRole);
                parent->appendRow(child);
            }
        }
        FView.setUpdatesEnabled(true);
    }
    // The model's sort sorts every level, by the sort role.
    void SortEveryLevelByValue() override
    {
        FModel.setSortRole(Qt::UserRole);
        FModel.sort(0, Qt::AscendingOrder);
        FModel.setSortRole(Qt::DisplayRole);
    }
    void SortEveryLevelByHandler() override
    {
        SortingByKey = true;
        FModel.sort(0, Qt::AscendingOrder);
        SortingByKey = false;
    }
    void GatherUnderFirst(int n) override
    {
        QStandardItem* root = FModel.invisibleRootItem();
        for (int i = 1; i < n && root->rowCount() > 1; ++i)
            root->child(0)->appendRow(root->takeRow(1));
    }
    void MoveFirstSubtree() override
    {
        QStandardItem* root = FModel.invisibleRootItem();
        const QList<QStandardItem*> first = root->takeRow(0);
        root->child(root->rowCount() - 1)->appendRow(first);
    }
    void MoveChildrenOneByOne(int n) override
    {
        QStandardItem* root = FModel.invisibleRootItem();
        QStandardItem* from = root->child(0);
        QStandardItem* to = root->child(1);
        for (int i = 0; i < n && from->rowCount() > 0; ++i)
            to->appendRow(from->takeRow(0));
    }

private:
    void WalkUnder(const QModelIndex& parent, long& n)
    {
        const int rows = FModel.rowCount(parent);
        for (int r = 0; r < rows; ++r) {
            QModelIndex index = FModel.index(r, 0, parent);
            ++n;
            if (FModel.hasChildren(index))
                WalkUnder(index, n);
        }
    }
    QStandardItemModel FModel;
    QTreeView FView;
};

} // namespace

std::unique_ptr<TSubject> MakeQTreeWidget() { return std::make_unique<TTreeWidgetSubject>(); }
std::unique_ptr<TSubject> MakeQTreeView() { return std::make_unique<TTreeViewSubject>(); }

} // namespace bench
