#pragma once
// The "&File" menu's list file commands: open, add, save, save as, the
// exports (web page, contact sheet), the recent files, dropped files and exit.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/WindowParts.h"

namespace sc {

class BackgroundWork;
class CommandActions;
class ExportFormat;
class TextureEntry;

class FileCommands {
public:
    explicit FileCommands(const WindowParts& parts);
    ~FileCommands();
    // True while the web page is written on its worker.
    bool Exporting() const;
    // Gives the commands of this menu their handlers.
    void Bind(CommandActions& actions);

    // Opens a list file and shows what it holds.
    // Opens a list file; `then` runs once it is read (or failed).
    void OpenListFile(const std::string& path, std::function<void()> then = {});
    // Dropped list files are opened, dropped include files searched.
    void OpenDropped(const std::vector<std::string>& listFiles, const std::vector<std::string>& includeFiles);

private:
    void Open();
    void Add();
    void Save();
    void SaveAs();
    void AfterSave();
    void OpenInTurn(std::vector<std::string> listFiles, std::size_t next, std::vector<std::string> includeFiles);
    std::vector<TextureEntry*> EntriesToExport() const;
    std::string ChooseExportTarget(const ExportFormat& format, bool& replaceForeignFiles);
    void Export(const ExportFormat& format);
    void OpenRecent(int index);

    WindowParts p_;
    std::unique_ptr<BackgroundWork> export_;
};

}  // namespace sc
