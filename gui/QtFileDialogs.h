#pragma once
// The list file dialogs: "Texturenliste öffnen" and "Texturenliste speichern"
// for "Swatchcraft Dateien", always opening in a folder that exists.
#include <QPointer>
#include <QWidget>

#include "ui/LibraryDocument.h"

namespace sc {

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::string ChooseOpenFile(const std::string& startDir) override;
    std::string ChooseSaveFile(const std::string& startDir, const std::string& proposedName) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace sc
