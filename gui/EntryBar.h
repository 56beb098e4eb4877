#pragma once
// The bar under the list that describes the current entry in up to five
// sunken parts: name, type letter, category, file name and folder.
#include <QWidget>

#include <string>
#include <vector>

class QHBoxLayout;
class QLabel;

namespace sc {

class EntryBar : public QWidget {
    Q_OBJECT
public:
    explicit EntryBar(QWidget* parent = nullptr);
    void SetParts(const std::vector<std::string>& parts);
    QStringList Parts() const;
    // One line of sunken parts high, whether an entry is shown or none.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    QHBoxLayout* row_;
    std::vector<QLabel*> labels_;
};

}  // namespace sc
