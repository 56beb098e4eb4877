#pragma once
// The main window's parts as its command groups see them. The window owns
// them all and hands this out once they are built.
namespace sc {

class LibraryCommands;
class LibraryController;
class LibraryDocument;
class LibraryViewStack;
class MainArea;
class MainWindow;
class PreviewPaneController;
class QtUserInterface;
class Settings;

struct WindowParts {
    MainWindow& window;
    Settings& settings;
    LibraryController& controller;
    LibraryDocument& document;
    LibraryViewStack& views;
    MainArea& area;
    PreviewPaneController& pane;
    // The selection, search, delete, overview and settings dialog commands.
    LibraryCommands& commands;
    QtUserInterface& ui;
};

}  // namespace sc
