#pragma once
// What the desktop answers the window: the POV-Ray installations found, and
// file dialogs that give the answers a test set beforehand.
#include <string>
#include <vector>

#include "povray/PovInstallationSource.h"
#include "ui/LibraryDocument.h"

namespace sc::test {

class FakeInstallations : public PovInstallationSource {
public:
    PovInstallationRecords records;
    PovInstallationRecords Read() const override { return records; }
};

class ScriptedFileDialogs : public FileDialogs {
public:
    std::string answer;                     // of the open and save dialogs
    std::string folder;                     // of the folder dialog
    std::string exportFile;                 // of the export file dialog
    std::vector<std::string> asked;         // start folder, and "|proposed name" when saving
    std::vector<std::string> folderTitles;  // of the folder and export dialogs
    std::string ChooseOpenFile(const std::string& startDir) override {
        asked.push_back(startDir);
        return answer;
    }
    std::string ChooseSaveFile(const std::string& startDir, const std::string& proposed) override {
        asked.push_back(startDir + "|" + proposed);
        return answer;
    }
    std::string ChooseFolder(const std::string& title, const std::string&) override {
        folderTitles.push_back(title);
        return folder;
    }
    std::string ChooseExportFile(const std::string& title, const std::string&, const std::string&,
                                 const std::string&) override {
        folderTitles.push_back(title);
        return exportFile;
    }
};

}  // namespace sc::test
