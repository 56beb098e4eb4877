#include "gui/FileChooserDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"
#include "ui/FileChooserList.h"

namespace sc {

FileChooserDialog::FileChooserDialog(std::vector<std::string> directories, QWidget* parent)
    : QDialog(parent), directories_(std::move(directories)) {
    setWindowTitle(QTr("Choose Files"));
    list_ = new QTreeWidget;
    list_->setAccessibleName(QTr("Files"));
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setHeaderLabels({QTr("Name"), QTr("Size"), QTr("Modified"), QTr("Folder")});
    list_->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    list_->setSortingEnabled(false);
    auto* nameLabel = new QLabel(QTr("File &name:"));
    names_ = new QLineEdit;
    nameLabel->setBuddy(names_);
    auto* filterLabel = new QLabel(QTr("File &type:"));
    filter_ = new QComboBox;
    filterLabel->setBuddy(filter_);
    for (const auto& f : FileChooserFilters())
        filter_->addItem(QTr(f.label) + QStringLiteral(" (") +
                         QString::fromUtf8(f.patterns).replace(QLatin1Char(';'), QStringLiteral(", ")) +
                         QLatin1Char(')'));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &FileChooserDialog::SelectionToField);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });
    auto* grid = new QGridLayout(this);
    grid->addWidget(list_, 0, 0, 1, 2);
    grid->addWidget(nameLabel, 1, 0);
    grid->addWidget(names_, 1, 1);
    grid->addWidget(filterLabel, 2, 0);
    grid->addWidget(filter_, 2, 1);
    grid->addWidget(buttons, 3, 0, 1, 2);
    resize(640, 420);
    Fill();
    NameControls(this);
}

QIcon FileChooserDialog::IconFor(const QString& name) {
    const QString extension = QFileInfo(name).suffix().toLower();
    auto it = icons_.find(extension);
    if (it != icons_.end()) return *it;
    static QFileIconProvider provider;
    const QIcon icon = provider.icon(QFileInfo(name));
    icons_.insert(extension, icon);
    return icon;
}

void FileChooserDialog::Fill() {
    list_->clear();
    const auto& filters = FileChooserFilters();
    const int index = std::max(0, filter_->currentIndex());
    for (const auto& row : ListChooserFiles(directories_, filters[static_cast<size_t>(index)].patterns)) {
        auto* item = new QTreeWidgetItem(list_);
        const QString name = QString::fromStdString(row.name);
        item->setText(0, name);
        item->setIcon(0, IconFor(QString::fromStdString(row.directory + "/" + row.name)));
        item->setText(1, QString::fromStdString(FileSizeText(row.size)));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(2, QString::fromStdString(FileDateText(row.modified)));
        item->setText(3, QString::fromStdString(row.directory));
    }
    for (int c = 0; c < 4; ++c) list_->resizeColumnToContents(c);
}

void FileChooserDialog::SelectionToField() {
    QStringList names;
    for (QTreeWidgetItem* item : list_->selectedItems()) names << item->text(0);
    names_->setText(names.join(QStringLiteral(";")));
}

QString FileChooserDialog::FileNames() const { return names_->text().trimmed(); }

int FileChooserDialog::RowCount() const { return list_->topLevelItemCount(); }

void FileChooserDialog::ChooseFilter(int index) { filter_->setCurrentIndex(index); }

}  // namespace sc
