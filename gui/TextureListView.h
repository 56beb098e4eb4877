#pragma once
// The texture list ("Texture list"): a report list of six columns over the
// shared model, sortable by its headers, with the category editable in place.
#include <QTreeView>

namespace sc {

class Settings;
class SortHeader;
class TextureListModel;

class TextureListView : public QTreeView {
    Q_OBJECT
public:
    TextureListView(TextureListModel& model, QWidget* parent = nullptr);

    // Column widths from the settings; a width of -1 takes the sample text's width.
    void ApplyColumnWidths(const Settings& settings);
    void StoreColumnWidths(Settings& settings) const;
    // Shows the sort arrow on the key's column (none for the picture order).
    void ShowSortOrder(int key, bool ascending);
    SortHeader& Header() const { return *header_; }
    // Opens the category editor over a row's category cell.
    void EditCategory(int row);

signals:
    // A column header was clicked: sort by that column's key.
    void sortRequested(int key);

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int SampleWidth(int column) const;

    TextureListModel& model_;
    SortHeader* header_;
};

}  // namespace sc
