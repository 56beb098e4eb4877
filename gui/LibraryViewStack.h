#pragma once
// The list area of the main window: the file list, the texture list and the
// picture grid over one library, one of them shown at a time. The texture
// list and the grid share one model and one selection model, which is the
// one record of the current entry and the selection; the current entry
// travels along when the view changes, and moves to a shown entry (or none)
// when a filter or a deletion hides it. The stack is the core's view
// interface, so the library's changes reach all three views, and it offers
// the selection to the commands:
//
//   CurrentEntry()       the entry of the focused item (a file node gives
//                        its file's anonymous entry), or null;
//   SelectedEntries()    the selected entries in list order (in the file
//                        list, a selected file stands for all its entries);
//   SelectEntries(list)  selects exactly these, the first focused and shown;
//   EntriesInListOrder() every shown entry in the texture list's order.
#include <QWidget>

#include <memory>
#include <vector>

#include "library/LibraryViews.h"
#include "ui/EntrySort.h"
#include "ui/MainCommands.h"

class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;

namespace sc {

class FileTreeModel;
class FileTreeView;
class FilterField;
class LibraryController;
class PictureGridView;
class Settings;
class TextureListModel;
class TextureListView;

class LibraryViewStack : public QWidget, public LibraryViews {
    Q_OBJECT
public:
    // Reads the sort order and column widths from the settings.
    LibraryViewStack(LibraryController& controller, Settings& settings, QWidget* parent = nullptr);
    ~LibraryViewStack() override;

    // Shows one view (a ListType), keeping the current entry, and gives it the focus.
    void SetViewType(int type);
    // Gives the keyboard to the list, tree or grid now shown.
    void FocusShownView();
    // Scrolls the shown view so that its current item is in sight.
    void ScrollToCurrent();
    int ViewType() const { return viewType_; }

    TextureEntry* CurrentEntry() const;
    std::vector<TextureEntry*> SelectedEntries() override;
    void SelectEntries(const std::vector<TextureEntry*>& entries) override;
    std::vector<TextureEntry*> EntriesInListOrder() override;
    int SelectedCount() const;

    // The library's changes.
    void EntryInserted(TextureEntry* entry) override;
    void EntryUpdated(TextureEntry* entry) override;
    void EntryRemoving(TextureEntry* entry, bool lastOfFile) override;
    void Clearing() override;
    void Refresh() override;

    // Selects every item of the texture list (on) or none (off).
    void SelectAll(bool select);
    // Selects the texture list's unselected items and unselects the others.
    void InvertSelection();
    // Expands (on) or collapses (off) every file node.
    void ExpandAll(bool expand);

    // A sort command or header click: the same key flips the direction.
    void SortBy(int key);
    SortOrder UserSortOrder() const { return sortState_.UserOrder(); }
    // Temporary orders for walks in a fixed order; End restores the user's.
    void BeginTemporarySort(ListSortState::Temporary order);
    void EndTemporarySort();

    // The filter field for the toolbar (owned by the caller once placed).
    FilterField* CreateFilterField(QWidget* parent);
    void SetFilterText(const QString& text);

    // The only-selected mode: needs two selected items in the texture list or grid.
    bool CanShowOnlySelected() const;
    bool OnlySelectedShown() const;
    void ShowOnlySelected(int lastSelectionKind, bool duplicatesByPicture);
    void LeaveOnlySelected();

    // The status bar text for what is shown and selected.
    QString StatusText() const;

    // Writes the sort order and column widths into the settings object and
    // its file, when the settings say to save; call when the window closes.
    void SaveListSettings();

    TextureListModel& Model() const { return *model_; }
    TextureListView& List() const { return *list_; }
    FileTreeView& Tree() const { return *tree_; }
    PictureGridView& Grid() const { return *grid_; }

signals:
    void currentEntryChanged(sc::TextureEntry* entry);
    // A double click on an entry: render its preview.
    void renderRequested();
    // The selection or the shown entries changed: refresh the status text.
    void selectionChanged();
    // A right click on a view: the window opens its context menu there.
    void contextMenuRequested(const QPoint& globalPos);
    // A click on a column header of the texture list: sort by that column's key.
    void sortRequested(int key);
    // Around every re-sort and refill (selection changes in between are the sort's).
    void sortStarted();
    void sortFinished();
    // An entry's category was edited in place; the library changed.
    void categoryChanged(sc::TextureEntry* entry);
    void viewTypeChanged(int type);
    void onlySelectedChanged(bool shown);
    // The left mouse button is held in the grid.
    void gridMouseHeld(bool held);

private:
    void BuildHeading();
    void ConnectViews();
    void ApplySort(SortOrder order);
    void ShowListRow(int row);
    void FocusListRow(int row);
    void SelectTreeNodeOf(const TextureEntry* entry);
    TextureEntry* TreeEntry() const;
    // After the shown entries changed: the current item moves to a shown entry, or to none.
    void KeepCurrentShown();
    void OnCurrentChanged();
    void OnTreeInserted(const std::vector<TextureEntry*>& batch);
    void OnCategoryEdited(TextureEntry* entry);
    void OnContextMenu(QWidget* view, const QPoint& position);

    LibraryController& controller_;
    Settings& settings_;
    ListSortState sortState_;
    std::unique_ptr<TextureListModel> model_;
    std::unique_ptr<FileTreeModel> treeModel_;
    QStackedWidget* stack_ = nullptr;
    TextureListView* list_ = nullptr;
    FileTreeView* tree_ = nullptr;
    PictureGridView* grid_ = nullptr;
    QLabel* heading_ = nullptr;
    QPushButton* back_ = nullptr;
    int viewType_ = kTextureListType;
};

}  // namespace sc
