#pragma once
// The file list ("File list"): a tree of source files with their entries.
#include <QTreeView>

namespace sc {

class FileTreeModel;

class FileTreeView : public QTreeView {
    Q_OBJECT
public:
    FileTreeView(FileTreeModel& model, QWidget* parent = nullptr);

    // "Alle &anzeigen" (on) or "Alle &verstecken" (off) for every file node.
    void ExpandAll(bool expand);

protected:
    bool viewportEvent(QEvent* event) override;
};

}  // namespace sc
