#pragma once
// A Qt widget that holds one tree view control filling it, for any Qt application and for
// Qt Designer forms (.ui files read by uic or QUiLoader).
//
// The control's published properties are Qt properties of the same names, and the nodes
// travel as the string property Data: the base64 text of the binary tree stream.
//
// The control follows QWidget's enabled state; QWidget's toolTip is the hint shown over
// the tree (the control's own Hint and ShowHint stay unused).
//
// The control's events OnChange, OnExpanded, OnCollapsed, OnChecked, OnEdited and
// OnDblClick belong to the widget, which turns them into its signals: connect to the
// signals. An application that assigns one of those six through tree() replaces the
// widget's handler, and the matching signal stops. Every other On... member of tree()
// is the application's.
#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>

#include "control/lxTreeViewControl.h"

class LxTreeViewWidget : public QWidget {
    Q_OBJECT
    // Colours: a system colour (the defaults) is reported as its current RGB value; the
    // reset brings the system colour back.
    Q_PROPERTY(QColor Color READ color WRITE setColor RESET resetColor)
    Q_PROPERTY(QColor SelectedColor READ selectedColor WRITE setSelectedColor RESET resetSelectedColor)
    Q_PROPERTY(QColor UnfocusedSelectedColor READ unfocusedSelectedColor WRITE setUnfocusedSelectedColor RESET
                   resetUnfocusedSelectedColor)
    Q_PROPERTY(QColor DropSelectedColor READ dropSelectedColor WRITE setDropSelectedColor RESET
                   resetDropSelectedColor)
    Q_PROPERTY(QColor MarkColor READ markColor WRITE setMarkColor RESET resetMarkColor)
    Q_PROPERTY(TreeBorderStyle BorderStyle READ borderStyle WRITE setBorderStyle RESET resetBorderStyle)
    Q_PROPERTY(TreeOptions Options READ options WRITE setOptions RESET resetOptions)
    Q_PROPERTY(int ChangeDelay READ changeDelay WRITE setChangeDelay RESET resetChangeDelay)
    // Indent and ItemHeight live in the native window; their defaults are the window's own
    // (an ItemHeight of 0 or less returns to the height that follows the font).
    Q_PROPERTY(int Indent READ indent WRITE setIndent RESET resetIndent)
    Q_PROPERTY(int ItemHeight READ itemHeight WRITE setItemHeight RESET resetItemHeight)
    // 300 ms, the control's declared default, is set on the window when the widget is made.
    Q_PROPERTY(int ScrollDelayTime READ scrollDelayTime WRITE setScrollDelayTime RESET resetScrollDelayTime)
    Q_PROPERTY(TreeSortType SortType READ sortType WRITE setSortType RESET resetSortType)
    // Last, as a form reads its properties in this order: the options above govern how
    // the nodes are read.
    Q_PROPERTY(QString Data READ data WRITE setData RESET resetData STORED true DESIGNABLE true)

public:
    // The values of the control's enumerations and option set, under their own names.
    enum TreeBorderStyle { bsNone = ::bsNone, bsSingle = ::bsSingle };
    Q_ENUM(TreeBorderStyle)
    enum TreeSortType { stNone = ::stNone, stData = ::stData, stText = ::stText, stBoth = ::stBoth };
    Q_ENUM(TreeSortType)
    enum TreeOption {
        roAutoExpand = 1 << ::roAutoExpand,
        roAutoEraseBackground = 1 << ::roAutoEraseBackground,
        roAutoScroll = 1 << ::roAutoScroll,
        roCheckSupport = 1 << ::roCheckSupport,
        roHideSelection = 1 << ::roHideSelection,
        roHotTrack = 1 << ::roHotTrack,
        roLevelSelection = 1 << ::roLevelSelection,
        roMultiSelect = 1 << ::roMultiSelect,
        roNoScroll = 1 << ::roNoScroll,
        roReadOnly = 1 << ::roReadOnly,
        roRightClickSelect = 1 << ::roRightClickSelect,
        roRowSelect = 1 << ::roRowSelect,
        roShowButtons = 1 << ::roShowButtons,
        roShowLines = 1 << ::roShowLines,
        roShowRoot = 1 << ::roShowRoot,
        roToolTips = 1 << ::roToolTips,
        roVerifyData = 1 << ::roVerifyData,
    };
    Q_DECLARE_FLAGS(TreeOptions, TreeOption)
    Q_FLAG(TreeOptions)

    explicit LxTreeViewWidget(QWidget* parent = nullptr);
    ~LxTreeViewWidget() override;

    TlxTreeView* tree() const { return FTree.get(); }
    QSize sizeHint() const override;

    QColor color() const;
    void setColor(const QColor& value);
    void resetColor();
    QColor selectedColor() const;
    void setSelectedColor(const QColor& value);
    void resetSelectedColor();
    QColor unfocusedSelectedColor() const;
    void setUnfocusedSelectedColor(const QColor& value);
    void resetUnfocusedSelectedColor();
    QColor dropSelectedColor() const;
    void setDropSelectedColor(const QColor& value);
    void resetDropSelectedColor();
    QColor markColor() const;
    void setMarkColor(const QColor& value);
    void resetMarkColor();

    TreeBorderStyle borderStyle() const;
    void setBorderStyle(TreeBorderStyle value);
    void resetBorderStyle();
    TreeOptions options() const;
    void setOptions(TreeOptions value);
    void resetOptions();
    TreeSortType sortType() const;
    void setSortType(TreeSortType value);
    void resetSortType();

    int changeDelay() const;
    void setChangeDelay(int value);
    void resetChangeDelay();
    int indent() const;
    void setIndent(int value);
    void resetIndent();
    int itemHeight() const;
    void setItemHeight(int value);
    void resetItemHeight();
    int scrollDelayTime() const;
    void setScrollDelayTime(int value);
    void resetScrollDelayTime();

    // The tree as base64 text of its binary stream; an empty tree is the empty string.
    // Text that is not base64 of a binary tree stream, or that the tree's reader rejects,
    // leaves the tree empty and gives a warning; until the tree gets nodes again, data()
    // returns that text unchanged (a form saved again keeps it) and dataError() the reason.
    QString data() const;
    void setData(const QString& value);
    void resetData();
    QString dataError() const;

signals:
    void currentNodeChanged(TlxTreeViewNode* node);
    void nodeExpanded(TlxTreeViewNode* node);
    void nodeCollapsed(TlxTreeViewNode* node);
    void nodeChecked(TlxTreeViewNode* node);
    // After an accepted label edit; text is the node's new text.
    void nodeEdited(TlxTreeViewNode* node, const QString& text);
    // The node under the mouse at the double click, or null.
    void nodeDoubleClicked(TlxTreeViewNode* node);
    // Data was set to text that holds no readable tree; reason is dataError()'s text.
    void dataRejected(const QString& reason);

protected:
    void changeEvent(QEvent* event) override;

private:
    enum ColorRole { BackgroundColor, SelectionColor, UnfocusedSelectionColor, DropSelectionColor, InsertMarkColor };
    QColor colorOf(ColorRole role) const;
    void setColorOf(ColorRole role, TColor value);
    void connectEvents();
    void releaseEvents();
    TlxTreeViewNode* nodeUnderMouse() const;
    void rejectData(const QString& text, const QString& reason);
    bool holdsRejectedData() const;

    std::unique_ptr<TlxTreeView> FTree;
    int FDefaultIndent = 0;
    // Text that setData could not load, and why; kept while the tree stays empty.
    QString FRejectedData;
    QString FDataError;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(LxTreeViewWidget::TreeOptions)
