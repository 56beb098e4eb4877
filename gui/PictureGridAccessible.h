#pragma once
// What a screen reader sees of the picture grid: a list of cells, each named
// after its entry and described by its file and category.
#include <QAccessibleWidget>
#include <QHash>
#include <QPersistentModelIndex>
#include <QPointer>

namespace sc {

class PictureGridView;

class PictureGridAccessible : public QAccessibleWidget {
public:
    explicit PictureGridAccessible(PictureGridView* grid);
    ~PictureGridAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Makes the interface for grids; installed once by the first grid.
    static QAccessibleInterface* Factory(const QString& key, QObject* object);

private:
    PictureGridView* Grid() const;

    mutable QHash<int, QAccessible::Id> cells_;
};

// One cell of the grid; it follows its entry while the grid is re-sorted.
class PictureGridCellAccessible : public QAccessibleInterface {
public:
    PictureGridCellAccessible(PictureGridView* grid, const QModelIndex& index);

    int Row() const { return index_.row(); }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

private:
    QPointer<PictureGridView> grid_;
    QPersistentModelIndex index_;
};

}  // namespace sc
