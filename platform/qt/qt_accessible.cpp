#include "platform/qt/qt_accessible.h"

#include <QAccessibleWidget>
#include <QTreeWidgetItem>
#include <map>

#include "platform/qt/qt_controls.h"
#include "platform/qt/qt_dialog_window.h"

namespace platform::qt {

namespace {

// The tree items' own actions: select is what a click on the item does.
const QString kSelectAction = QStringLiteral("Select");
const QString kExpandAction = QStringLiteral("Expand");
const QString kCollapseAction = QStringLiteral("Collapse");

class TreeAccessible;

// One tree item, a child of its parent item as on the screen, so a reader can tell which
// weapon and category a value belongs to.
class TreeItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    TreeItemAccessible(TreeAccessible& tree, QTreeWidgetItem* item) : tree_(tree), item_(item) {}

    QTreeWidgetItem* Item() const { return item_; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return item_->childCount(); }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? item_->text(0) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    TreeAccessible& tree_;
    QTreeWidgetItem* item_;
};

// The tree, whose children are its top-level items. Qt's own tree interface lists every row
// as the tree's child, with nothing to say where a row belongs.
class TreeAccessible : public QAccessibleWidget {
  public:
    explicit TreeAccessible(QtTree* tree) : QAccessibleWidget(tree, QAccessible::Tree) {}
    ~TreeAccessible() override {
        for (const auto& [item, id] : items_) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }

    QtTree* Tree() const { return static_cast<QtTree*>(widget()); }

    // The one interface of an item, made when first asked for; none for no item.
    QAccessibleInterface* Of(QTreeWidgetItem* item) const {
        if (item == nullptr) {
            return nullptr;
        }
        auto it = items_.find(item);
        if (it == items_.end()) {
            auto* made = new TreeItemAccessible(const_cast<TreeAccessible&>(*this), item);
            it = items_.emplace(item, QAccessible::registerAccessibleInterface(made)).first;
        }
        return QAccessible::accessibleInterface(it->second);
    }

    int childCount() const override { return Tree()->topLevelItemCount(); }
    QAccessibleInterface* child(int index) const override {
        return Of(Tree()->topLevelItem(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* item = dynamic_cast<const TreeItemAccessible*>(child);
        return item == nullptr ? -1 : Tree()->indexOfTopLevelItem(item->Item());
    }
    QAccessibleInterface* focusChild() const override {
        return Tree()->hasFocus() ? Of(Tree()->currentItem()) : nullptr;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint at = Tree()->viewport()->mapFromGlobal(QPoint(x, y));
        return Of(Tree()->itemAt(at));
    }

  private:
    mutable std::map<QTreeWidgetItem*, QAccessible::Id> items_;
};

bool TreeItemAccessible::isValid() const {
    return tree_.isValid();
}

QWindow* TreeItemAccessible::window() const {
    return tree_.window();
}

QAccessibleInterface* TreeItemAccessible::parent() const {
    QTreeWidgetItem* up = item_->parent();
    return up != nullptr ? tree_.Of(up) : &tree_;
}

QAccessibleInterface* TreeItemAccessible::child(int index) const {
    return tree_.Of(item_->child(index));
}

int TreeItemAccessible::indexOfChild(const QAccessibleInterface* child) const {
    auto* item = dynamic_cast<const TreeItemAccessible*>(child);
    return item == nullptr ? -1 : item_->indexOfChild(item->Item());
}

QRect TreeItemAccessible::rect() const {
    const QRect shown = tree_.Tree()->visualItemRect(item_);
    if (!shown.isValid()) {
        return {};
    }
    return {tree_.Tree()->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
}

// The selection is the tree's caret, as in the native tree.
QAccessible::State TreeItemAccessible::state() const {
    QtTree* tree = tree_.Tree();
    QAccessible::State s;
    s.selectable = true;
    s.focusable = true;
    s.selected = tree->currentItem() == item_;
    s.focused = s.selected && tree->hasFocus();
    if (item_->childCount() > 0) {
        s.expandable = true;
        s.expanded = item_->isExpanded();
        s.collapsed = !item_->isExpanded();
    }
    for (QTreeWidgetItem* up = item_->parent(); up != nullptr; up = up->parent()) {
        s.invisible |= !up->isExpanded();
    }
    s.offscreen = s.invisible || !tree->viewport()->rect().intersects(tree->visualItemRect(item_));
    return s;
}

QStringList TreeItemAccessible::actionNames() const {
    QStringList names{kSelectAction};
    if (item_->childCount() > 0) {
        names << (item_->isExpanded() ? kCollapseAction : kExpandAction);
    }
    return names;
}

// As the mouse and the keys do: selecting moves the caret, which the dialog follows, and
// shows the item; closing an item over the selection selects it.
void TreeItemAccessible::doAction(const QString& actionName) {
    if (actionName == kSelectAction) {
        tree_.Tree()->setCurrentItem(item_);
    } else if (actionName == kExpandAction || actionName == kCollapseAction) {
        item_->setExpanded(actionName == kExpandAction);
        QAccessible::State changed;
        changed.expanded = true;
        changed.collapsed = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

// A drop-down list named from its label, whose value is its current entry (Qt names it by that
// entry) and whose child is its list of entries.
class ComboAccessible : public QAccessibleWidget {
  public:
    explicit ComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QComboBox* Combo() const { return static_cast<QComboBox*>(widget()); }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(Combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == this->child(0) ? 0 : -1;
    }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? Combo()->currentText() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = Combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction();
    }
    void doAction(const QString& actionName) override {
        if (actionName == showMenuAction()) {
            Combo()->showPopup();
        } else {
            QAccessibleWidget::doAction(actionName);
        }
    }
};

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (auto* tree = dynamic_cast<QtTree*>(object)) {
        return new TreeAccessible(tree);
    }
    if (auto* combo = dynamic_cast<QtCombo*>(object)) {
        return new ComboAccessible(combo);
    }
    if (auto* window = dynamic_cast<QtDialogWindow*>(object)) {
        return new QAccessibleWidget(window, QAccessible::Dialog);
    }
    return nullptr;
}

// Qt's tree view numbers the rows of its events as its own interface lists them, all flat;
// the focus it reports goes to the current item's own interface instead.
void Update(QAccessibleEvent* event) {
    auto* tree = dynamic_cast<QtTree*>(event->object());
    if (tree != nullptr && event->child() >= 0) {
        if (event->type() != QAccessible::Focus) {
            return;
        }
        auto* treeInterface =
            dynamic_cast<TreeAccessible*>(QAccessible::queryAccessibleInterface(tree));
        QAccessibleInterface* item =
            treeInterface != nullptr ? treeInterface->Of(tree->currentItem()) : nullptr;
        if (item == nullptr) {
            return;
        }
        QAccessibleEvent focus(item, QAccessible::Focus);
        Update(&focus);
        return;
    }
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&Update);
}

}  // namespace

void InstallAccessibility() {
    QAccessible::installFactory(&Factory);
    QAccessible::installUpdateHandler(&Update);
}

}  // namespace platform::qt
