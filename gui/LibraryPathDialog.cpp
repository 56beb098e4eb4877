#include "gui/LibraryPathDialog.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/Translation.h"
#include "povray/LibraryPaths.h"

namespace sc {

LibraryPathDialog::LibraryPathDialog(const std::string& home, UserInterface& ui, FileOpener openFile,
                                     QWidget* parent, LibraryPathEditor::Rewriter rewrite)
    : QDialog(parent), rewrite_(rewrite ? std::move(rewrite) : LibraryPathEditor::ForHome(home)),
      openFile_(std::move(openFile)) {
    setWindowTitle(QTr("POV-Ray Library Folders"));
    // A change goes to the user's povray.ini (made from the system one on the
    // first change), so that is the file the dialog names and edits.
    const std::string ini = UserPovrayIniPath(home);
    std::vector<std::string> paths;
    ReadLibraryPaths(home, paths);
    editor_ = std::make_unique<LibraryPathEditor>(paths, ini, ui);

    auto* iniLabel = new QLabel(QTr("POV-Ray INI file:"));
    iniPath_ = new QLineEdit(QString::fromStdString(ini));
    iniPath_->setReadOnly(true);
    iniPath_->selectAll();
    iniLabel->setBuddy(iniPath_);
    edit_ = new QPushButton(QTrC("button", "Edit"));
    edit_->setToolTip(QTr("Edit povray.ini"));
    edit_->setEnabled(!ini.empty());
    auto* listLabel = new QLabel(QTr("&POV-Ray library folders found:"));
    list_ = new QListWidget;
    listLabel->setBuddy(list_);
    list_->installEventFilter(this);
    delete_ = new QPushButton(QTr("&Delete"));
    add_ = new QPushButton(QTr("&Add..."));
    up_ = new QPushButton(QTr("Up"));
    down_ = new QPushButton(QTr("Down"));
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QTr("Cancel"));
    auto* help = new QPushButton(QTrC("button", "&Help"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(iniLabel, 0, 0, 1, 2);
    grid->addWidget(iniPath_, 1, 0);
    grid->addWidget(edit_, 1, 1);
    grid->addWidget(listLabel, 2, 0, 1, 2);
    grid->addWidget(list_, 3, 0, 4, 1);
    grid->addWidget(delete_, 3, 1);
    grid->addWidget(add_, 4, 1);
    grid->addWidget(up_, 5, 1);
    grid->addWidget(down_, 6, 1, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(help);
    grid->addLayout(buttons, 7, 0, 1, 2);
    setMinimumSize(520, 320);

    connect(edit_, &QPushButton::clicked, this, [this, home, ini] {
        if (!openFile_) return;
        const std::string writable = WritablePovrayIniPath(home);
        openFile_(writable.empty() ? ini : writable);
    });
    connect(delete_, &QPushButton::clicked, this, [this] {
        editor_->Delete();
        Refill();
    });
    connect(add_, &QPushButton::clicked, this, &LibraryPathDialog::Add);
    connect(up_, &QPushButton::clicked, this, [this] {
        editor_->MoveUp();
        Refill();
    });
    connect(down_, &QPushButton::clicked, this, [this] {
        editor_->MoveDown();
        Refill();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row != editor_->Selected()) editor_->Select(row);
        UpdateButtons();
    });
    connect(ok, &QPushButton::clicked, this, &LibraryPathDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    help->setEnabled(false);  // no help topic is written for this dialog yet
    Refill();
    NameControls(this);
}

void LibraryPathDialog::Refill() {
    QSignalBlocker block(list_);
    list_->clear();
    for (const auto& path : editor_->Entries()) list_->addItem(QString::fromStdString(path));
    list_->setCurrentRow(editor_->Selected());
    UpdateButtons();
}

void LibraryPathDialog::UpdateButtons() {
    delete_->setEnabled(editor_->CanDelete());
    up_->setEnabled(editor_->CanMoveUp());
    down_->setEnabled(editor_->CanMoveDown());
}

void LibraryPathDialog::Add() {
    const QString start = list_->currentItem() ? list_->currentItem()->text() : QString();
    const QString folder = QFileDialog::getExistingDirectory(this, QTr("Choose Folder"), start);
    if (!folder.isEmpty()) AddDirectory(folder.toStdString());
}

void LibraryPathDialog::AddDirectory(const std::string& directory) {
    editor_->Add(directory);
    Refill();
}

bool LibraryPathDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && editor_->CanDelete()) {
        editor_->Delete();
        Refill();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LibraryPathDialog::accept() {
    const bool closes = editor_->Ok(rewrite_);
    Refill();  // Cancel on a question selects the entry it named
    if (closes) QDialog::accept();
}

}  // namespace sc
