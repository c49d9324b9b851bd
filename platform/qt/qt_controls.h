#pragma once

#include <QComboBox>
#include <QStringListModel>
#include <QTreeWidget>
#include <functional>
#include <string>

#include "platform/backend.h"

// The tree and the drop-down list as the program's control interfaces, on Qt's widgets.
// Texts cross as Latin-1, so every byte the program puts into an item comes back unchanged.
namespace platform::qt {

QString FromProgram(const std::string& text);
std::string ToProgram(const QString& text);

// A tree whose selection is its current item, as the native tree has one caret that is the
// selection. Handles are the items' addresses; items are never removed.
class QtTree : public QTreeWidget, public TreeControl {
  public:
    explicit QtTree(QWidget* parent);

    // Called after every change of selection, by the program or the user.
    std::function<void()> onSelChanged;

    TreeItem InsertItem(const std::string& text, TreeItem parent, TreeItem after) override;
    TreeItem GetChildItem(TreeItem item) const override;
    TreeItem GetNextSiblingItem(TreeItem item) const override;
    TreeItem GetParentItem(TreeItem item) const override;
    TreeItem GetSelectedItem() const override;
    std::string GetItemText(TreeItem item) const override;
    bool SetItemText(TreeItem item, const std::string& text) override;
    bool SelectItem(TreeItem item) override;

    static QTreeWidgetItem* ItemOf(TreeItem item);
    static TreeItem HandleOf(QTreeWidgetItem* item);

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;

  private:
    QTreeWidgetItem* Parent(TreeItem item) const;
    void CurrentChanged(QTreeWidgetItem* current);
    void Collapsed(const QModelIndex& index);
};

// A drop-down list. Only the user's choice notifies.
//
// The program works on its own copy of the entries and the selection, kept by the native
// list's rules; the widget is brought up to date in one step before anything else looks at
// it (any event) and when the program's handler returns. Qt's list does a round of model
// signals and view bookkeeping for each entry added or removed, which for the 1806 entries
// of a full list costs several times the work of the entries themselves.
class QtCombo : public QComboBox, public ComboList {
  public:
    explicit QtCombo(QWidget* parent);

    // Brings the widget up to date with the program's entries and selection.
    void Sync();

    // Called when the user chooses an entry.
    std::function<void()> onSelChange;

    // The height of the dropped list below the box, in pixels: it shows as many whole rows as
    // fit. Settled when the list first drops, as only then are its rows measured.
    void SetDroppedHeight(int pixels, bool verticalScrollBar);

    void showPopup() override;

  protected:
    bool event(QEvent* event) override;

  private:
    void ChooseSelectedEntry();

    // The entries as Qt's views read them, replaced whole; a child, so it outlives the
    // widget's own teardown.
    QStringListModel* model_;
    int syncedRevision_ = 0;
    bool syncing_ = false;
    int droppedHeight_ = 0;  // 0: as Qt likes it, or settled already
    bool verticalScrollBar_ = true;
};

}  // namespace platform::qt
