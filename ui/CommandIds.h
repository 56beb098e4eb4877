#pragma once
// The command identifiers of the menus, shared by the main window's menu and
// the views' context menus so that both reach the same handler.
namespace sc {

enum CommandId : int {
    kCmdDeleteSelected = 32772,
    kCmdDeleteAll = 32815,
    kCmdSelectAll = 32848,
    kCmdDeletePreviews = 32858,
    kCmdExpandAll = 32881,
    kCmdCollapseAll = 32882,
    kCmdSelectFaulty = 32892,
    kCmdInvertSelection = 32894,
    kCmdSelectChanged = 32915,
    kCmdSelectEmpty = 32916,
    kCmdEditInPovRay = 32917,
    kCmdCopyDeclaration = 32918,
    kCmdSelectIncompatible30 = 32919,
    kCmdSelectIncompatible31 = 32920,
    kCmdSelectDuplicates = 32923,
    kCmdOnlySelected = 32924,
};

}  // namespace sc
