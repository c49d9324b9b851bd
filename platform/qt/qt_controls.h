#pragma once

#include <QComboBox>
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
    void CurrentChanged(QTreeWidgetItem* current);
    void Collapsed(const QModelIndex& index);
};

// A drop-down list. Only the user's choice notifies; entries added to an empty list leave it
// without a selection, and deleting the selected entry leaves none.
class QtCombo : public QComboBox, public ComboControl {
  public:
    explicit QtCombo(QWidget* parent);

    // Called when the user chooses an entry.
    std::function<void()> onSelChange;

    // A sorted list files each new entry in case-blind order; an unsorted one appends.
    void SetSorted(bool sorted) { sorted_ = sorted; }

    int AddString(const std::string& text) override;
    int DeleteString(int index) override;
    int GetCount() const override { return count(); }
    int GetCurSel() const override;
    int SetCurSel(int index) override;
    std::string GetLBText(int index) const override;

  private:
    bool sorted_ = false;
};

}  // namespace platform::qt
