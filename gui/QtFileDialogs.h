#pragma once
// The list file dialogs: "Open Texture List" and "Save Texture List"
// for "Swatchcraft files", always opening in a folder that exists, and a
// folder dialog for what the window writes into a folder.
#include <QPointer>
#include <QWidget>

#include "ui/LibraryDocument.h"

namespace sc {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::string ChooseOpenFile(const std::string& startDir) override;
    std::string ChooseSaveFile(const std::string& startDir, const std::string& proposedName) override;
    std::string ChooseFolder(const std::string& title, const std::string& startDir) override;
    std::string ChooseExportFile(const std::string& title, const std::string& startDir,
                                 const std::string& proposedName, const std::string& filter) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace sc
