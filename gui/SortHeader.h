#pragma once
// The texture list's header: the sort column shows a small triangle, up for
// ascending and down for descending order, beside its shortened heading.
#include <QHeaderView>

namespace sc {

class SortHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SortHeader(QWidget* parent = nullptr);

    // Marks a column as the sort column (-1: none) and redraws the header.
    void SetSortColumn(int section, bool ascending);
    int SortColumn() const { return sortSection_; }
    bool Ascending() const { return ascending_; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int sortSection_ = -1;
    bool ascending_ = true;
};

}  // namespace sc
