#include "platform/qt/qt_controls.h"

#include <QHeaderView>

namespace platform::qt {

QString FromProgram(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToProgram(const QString& text) {
    return text.toLatin1().toStdString();
}

QtTree::QtTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // One column as wide as its widest shown item, scrolled sideways when wider than the view.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { CurrentChanged(current); });
    connect(this, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { Collapsed(index); });
}

QTreeWidgetItem* QtTree::ItemOf(TreeItem item) {
    const bool none = item == kNoTreeItem || item == kTreeRoot || item == kTreeLast;
    return none ? nullptr : reinterpret_cast<QTreeWidgetItem*>(item);
}

TreeItem QtTree::HandleOf(QTreeWidgetItem* item) {
    return reinterpret_cast<TreeItem>(item);
}

// The item itself, or the tree's invisible root for the top level.
QTreeWidgetItem* QtTree::Parent(TreeItem item) const {
    QTreeWidgetItem* self = ItemOf(item);
    return self != nullptr ? self : invisibleRootItem();
}

TreeItem QtTree::InsertItem(const std::string& text, TreeItem parent, TreeItem after) {
    auto* item = new QTreeWidgetItem(QStringList{FromProgram(text)});
    QTreeWidgetItem* parentItem = Parent(parent);
    const int at = parentItem->indexOfChild(ItemOf(after));
    parentItem->insertChild(at >= 0 ? at + 1 : parentItem->childCount(), item);
    return HandleOf(item);
}

TreeItem QtTree::GetChildItem(TreeItem item) const {
    QTreeWidgetItem* parentItem = Parent(item);
    return parentItem->childCount() > 0 ? HandleOf(parentItem->child(0)) : kNoTreeItem;
}

TreeItem QtTree::GetNextSiblingItem(TreeItem item) const {
    QTreeWidgetItem* self = ItemOf(item);
    if (self == nullptr) {
        return kNoTreeItem;
    }
    QTreeWidgetItem* parentItem = self->parent() != nullptr ? self->parent() : invisibleRootItem();
    return HandleOf(parentItem->child(parentItem->indexOfChild(self) + 1));
}

TreeItem QtTree::GetParentItem(TreeItem item) const {
    QTreeWidgetItem* self = ItemOf(item);
    return self == nullptr ? kNoTreeItem : HandleOf(self->parent());
}

TreeItem QtTree::GetSelectedItem() const {
    return HandleOf(currentItem());
}

std::string QtTree::GetItemText(TreeItem item) const {
    QTreeWidgetItem* self = ItemOf(item);
    return self == nullptr ? std::string() : ToProgram(self->text(0));
}

bool QtTree::SetItemText(TreeItem item, const std::string& text) {
    QTreeWidgetItem* self = ItemOf(item);
    if (self != nullptr) {
        self->setText(0, FromProgram(text));
    }
    return self != nullptr;
}

bool QtTree::SelectItem(TreeItem item) {
    QTreeWidgetItem* self = ItemOf(item);
    if (self == nullptr && item != kNoTreeItem) {
        return false;
    }
    setCurrentItem(self);
    return true;
}

// Whatever moves the caret, the selection goes with it: the focus arriving on a tree without
// a selection, a click, the keys. A click on empty space or with Ctrl keeps it.
QItemSelectionModel::SelectionFlags QtTree::selectionCommand(const QModelIndex& index,
                                                             const QEvent*) const {
    return index.isValid() ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows
                           : QItemSelectionModel::NoUpdate;
}

void QtTree::CurrentChanged(QTreeWidgetItem* current) {
    if (current != nullptr && !current->isSelected()) {
        selectionModel()->select(indexFromItem(current),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    if (onSelChanged) {
        onSelChanged();
    }
}

// A collapse that hides the selected item moves the selection to the collapsed item.
void QtTree::Collapsed(const QModelIndex& index) {
    QTreeWidgetItem* collapsedItem = itemFromIndex(index);
    for (QTreeWidgetItem* up = currentItem(); up != nullptr; up = up->parent()) {
        if (up->parent() == collapsedItem) {
            setCurrentItem(collapsedItem);
            return;
        }
    }
}

QtCombo::QtCombo(QWidget* parent) : QComboBox(parent), model_(new QStringListModel) {
    setEditable(false);
    setInsertPolicy(QComboBox::NoInsert);
    model_->setParent(this);
    setModel(model_);
    // The user's choice (the list, the keys, the wheel) moves the selection; the program's
    // own changes come through Sync.
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!syncing_) {
            SetCurSel(index);
        }
    });
    connect(this, &QComboBox::activated, this, [this](int) {
        if (onSelChange) {
            onSelChange();
        }
    });
    // The mouse and the keys move the dropped list's caret with its selection; assistive
    // technology selects an entry alone, and that chooses it, as a click on it does. Looked at
    // once the change is over, as the caret follows the selection only after it.
    connect(
        view()->selectionModel(), &QItemSelectionModel::selectionChanged, this,
        [this] { ChooseSelectedEntry(); }, Qt::QueuedConnection);
}

void QtCombo::ChooseSelectedEntry() {
    const QModelIndexList selected = view()->selectionModel()->selectedIndexes();
    if (selected.size() == 1 && selected.front() != view()->currentIndex()) {
        const int row = selected.front().row();
        hidePopup();
        setCurrentIndex(row);
        emit activated(row);
    }
}

void QtCombo::Sync() {
    if (syncedRevision_ == Revision() && currentIndex() == GetCurSel()) {
        return;
    }
    syncing_ = true;
    if (syncedRevision_ != Revision()) {
        QStringList entries;
        entries.reserve(GetCount());
        for (const std::string& entry : Entries()) {
            entries.append(FromProgram(entry));
        }
        model_->setStringList(entries);
        syncedRevision_ = Revision();
    }
    setCurrentIndex(GetCurSel());
    syncing_ = false;
}

void QtCombo::SetDroppedHeight(int pixels, bool verticalScrollBar) {
    droppedHeight_ = qMax(1, pixels);
    verticalScrollBar_ = verticalScrollBar;
}

void QtCombo::showPopup() {
    Sync();
    if (droppedHeight_ > 0) {
        QAbstractItemView* list = view();
        int rowHeight = count() > 0 ? list->sizeHintForRow(0) : 0;
        if (rowHeight <= 0) {
            rowHeight = fontMetrics().height();
        }
        // The list's frame takes its share of the height too.
        const int frame = 2 * list->frameWidth();
        setMaxVisibleItems(qMax(1, (droppedHeight_ - frame) / rowHeight));
        list->setVerticalScrollBarPolicy(verticalScrollBar_ ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
        droppedHeight_ = 0;
    }
    QComboBox::showPopup();
}

bool QtCombo::event(QEvent* event) {
    Sync();
    return QComboBox::event(event);
}

}  // namespace platform::qt
