// The three views over one library: shared order and selection, the current
// entry across views, filtering, lazy thumbnails, editing, dragging
// and what a screen reader sees.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

#include "GuiApp.h"
#include "GuiTestSupport.h"
#include "TestEnvironment.h"
#include "gui/FileTreeModel.h"
#include "gui/FileTreeView.h"
#include "gui/LibraryViewStack.h"
#include "gui/PictureGridView.h"
#include "gui/SortHeader.h"
#include "gui/TextureListModel.h"
#include "gui/TextureListView.h"
#include "library/LibraryController.h"
#include "platform/IniFile.h"
#include "platform/UserInterface.h"
#include "preview/PreviewCodec.h"
#include "ui/Settings.h"

namespace sc {
namespace {

using Names = std::vector<std::string>;

void SetPreview(TextureEntry& e, std::uint8_t shade) {
    const std::vector<std::uint8_t> pixels(56 * 56 * 3, shade);
    ASSERT_TRUE(Encode(e.preview, pixels.data(), pixels.size(), 56, 56, 60, nullptr));
    ComputeStats(e.preview, pixels.data(), pixels.size(), 56, 56);
    e.previewValid = true;
}

struct ViewsFixture : testing::Test {
    SilentUserInterface ui;
    LibraryController controller{ui};
    test::TempDir dir;
    Settings settings{dir / "swatchcraft.ini", dir / "prog"};
    std::unique_ptr<LibraryViewStack> views;

    ViewsFixture() {
        test::GuiApp();
        settings.SetSortBy(kSortByName);
        views = std::make_unique<LibraryViewStack>(controller, settings);
        controller.SetViews(views.get());
        views->resize(400, 300);
        views->show();
    }
    ~ViewsFixture() override { controller.SetViews(nullptr); }

    TextureEntry* Add(const std::string& file, const std::string& name, const std::string& category = "-",
                      int kind = kKindTexture) {
        TextureEntry* e = controller.Library().AddEntry(dir.Path() + "/", file, name, kind, category, 0, nullptr);
        controller.RegisterAddedEntry(e);
        return e;
    }
    static Names NamesOf(const std::vector<TextureEntry*>& entries) {
        Names names;
        for (TextureEntry* e : entries) names.push_back(e->name);
        return names;
    }
    Names Shown() { return NamesOf(views->EntriesInListOrder()); }
    Names Selected() { return NamesOf(views->SelectedEntries()); }
    void Key(QWidget& target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        test::KeyClick(&target, key, mods);
    }
    // A mouse event with the left button at the middle of the grid's cell `item`.
    void Mouse(QEvent::Type type, int item, Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        PictureGridView& grid = views->Grid();
        const QPointF at = grid.visualRect(grid.model()->index(item, 0)).center();
        QMouseEvent event(type, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, buttons, mods);
        QApplication::sendEvent(grid.viewport(), &event);
    }
};

// Sorting and its header are driven through the window's keys elsewhere; a
// re-sort must keep the selection with its entries in every view.
TEST_F(ViewsFixture, ListAndGridShareOrderSelectionAndFocus) {
    Add("a.inc", "tex10");
    Add("a.inc", "tex9");
    Add("b.inc", "Alpha");
    views->SortBy(kSortByFile);
    EXPECT_EQ(Shown(), (Names{"tex9", "tex10", "Alpha"}));
    views->SetViewType(kPictureListType);
    PictureGridView& grid = views->Grid();
    Key(grid, Qt::Key_Home);
    Key(grid, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(views->CurrentEntry()->name, "tex10");
    EXPECT_EQ(views->List().selectionModel()->selectedRows().size(), 2);

    views->SortBy(kSortByName);
    EXPECT_EQ(Selected(), (Names{"tex9", "tex10"}));
    EXPECT_EQ(views->List().selectionModel()->selectedRows().size(), 2);
}

TEST_F(ViewsFixture, GridMouseRulesSelectFocusAndAskForRendering) {
    for (const char* name : {"A", "B", "C", "D"}) Add("a.inc", name);
    views->SetViewType(kPictureListType);
    const auto click = [&](int item, Qt::KeyboardModifiers mods, QEvent::Type type = QEvent::MouseButtonPress) {
        Mouse(type, item, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, item, Qt::NoButton, mods);
    };
    click(1, Qt::NoModifier);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (Names{"B", "C", "D"}));
    click(2, Qt::ControlModifier);  // a selected item leaves the selection, keeping the focus
    EXPECT_EQ(Selected(), (Names{"B", "D"}));
    EXPECT_EQ(views->CurrentEntry()->name, "C");
    click(1, Qt::NoModifier);  // a plain click on a selected item (no drag) selects it alone
    EXPECT_EQ(Selected(), Names{"B"});
    int renders = 0;
    QObject::connect(views.get(), &LibraryViewStack::renderRequested, [&] { ++renders; });
    click(0, Qt::NoModifier, QEvent::MouseButtonDblClick);
    EXPECT_EQ(renders, 1);
}

TEST_F(ViewsFixture, LibraryChangesReachEveryViewWithoutLosingTheSelection) {
    Add("b.inc", "Mid");
    TextureEntry* picked = Add("b.inc", "Zed");
    views->SelectEntries({picked});
    // Entries arriving later go to their places; the selection stays on its entry.
    Add("a.inc", "Alpha");
    Add("c10.inc", "Beta");
    Add("c9.inc", "Gamma");
    EXPECT_EQ(Shown(), (Names{"Alpha", "Beta", "Gamma", "Mid", "Zed"}));
    EXPECT_EQ(views->SelectedEntries(), std::vector<TextureEntry*>{picked});
    EXPECT_EQ(views->CurrentEntry(), picked);
    QAbstractItemModel& tree = *views->Tree().model();
    const auto fileNames = [&] {
        QStringList names;
        for (int row = 0; row < tree.rowCount(); ++row) names << tree.index(row, 0).data().toString().section(' ', 0, 0);
        return names;
    };
    EXPECT_EQ(fileNames(), (QStringList{"a.inc", "b.inc", "c9.inc", "c10.inc"}));
    EXPECT_EQ(tree.index(1, 0).data().toString().toStdString(), "b.inc " + dir.Path() + " (2) ");
    EXPECT_EQ(tree.index(1, 0, tree.index(1, 0)).data().toString(), QStringLiteral("T: Zed"));

    controller.DeleteEntry(controller.Library().FindEntry(dir.Path() + "/", "a.inc", "Alpha"));
    EXPECT_EQ(Shown(), (Names{"Beta", "Gamma", "Mid", "Zed"}));
    EXPECT_EQ(fileNames(), (QStringList{"b.inc", "c9.inc", "c10.inc"}));  // the file went with its last entry
    controller.DeleteEntry(controller.Library().FindEntry(dir.Path() + "/", "b.inc", "Mid"));
    EXPECT_EQ(tree.index(0, 0).data().toString().toStdString(), "b.inc " + dir.Path() + " (1) ");
    EXPECT_EQ(views->CurrentEntry(), picked);
    views->Refresh();
    EXPECT_EQ(views->SelectedEntries(), std::vector<TextureEntry*>{picked});

    // A new picture shows in the list's icon.
    const qint64 before = views->Model().index(2, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey();
    SetPreview(*picked, 200);
    views->EntryUpdated(picked);
    EXPECT_NE(views->Model().index(2, 0).data(Qt::DecorationRole).value<QIcon>().cacheKey(), before);

    controller.ResetLibrary();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(tree.rowCount(), 0);
    EXPECT_EQ(views->StatusText().toStdString(), "0 Einträge");
}

TEST_F(ViewsFixture, FileListTakesABatchInOneInsertionPerRunOfNeighbours) {
    FileTreeModel tree(controller);
    const auto entry = [&](const char* file, const char* name) {
        return controller.Library().AddEntry(dir.Path() + "/", file, name, kKindTexture, "-", 0, nullptr);
    };
    std::vector<std::pair<int, int>> ranges;
    QObject::connect(&tree, &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) { ranges.emplace_back(first, last); });
    const std::vector<TextureEntry*> first{entry("b.inc", "b4"), entry("b.inc", "b2"), entry("b.inc", "b6")};
    tree.Insert(first);
    EXPECT_EQ(ranges, (std::vector<std::pair<int, int>>{{0, 0}}));  // the new file, its entries inside
    ASSERT_EQ(tree.rowCount(tree.index(0, 0)), 3);

    ranges.clear();
    std::vector<TextureEntry*> second{entry("b.inc", "b5"), entry("b.inc", "b1"), entry("b.inc", "b8"),
                                      entry("b.inc", "b3"), entry("a.inc", "a1"), entry("b.inc", "b7")};
    second.push_back(second[0]);  // twice in the batch
    second.push_back(first[0]);   // shown already
    tree.Insert(second);
    // b.inc: b1 before b2, b3 before b4, b5 before b6, b7 and b8 after all; then the new file a.inc before it.
    EXPECT_EQ(ranges, (std::vector<std::pair<int, int>>{{0, 0}, {2, 2}, {4, 4}, {6, 7}, {0, 0}}));
    ASSERT_EQ(tree.rowCount(), 2);
    const QModelIndex b = tree.index(1, 0);
    QStringList names;
    for (int row = 0; row < tree.rowCount(b); ++row) names << tree.index(row, 0, b).data().toString();
    EXPECT_EQ(names, (QStringList{"T: b1", "T: b2", "T: b3", "T: b4", "T: b5", "T: b6", "T: b7", "T: b8"}));
    EXPECT_EQ(tree.IndexOf(second[0]), tree.index(4, 0, b));
}

TEST_F(ViewsFixture, TheCurrentEntryTravelsBetweenViews) {
    Add("a.inc", "One");
    TextureEntry* two = Add("a.inc", "Two");
    Add("b.inc", "Three");
    views->SelectEntries({two});
    views->SetViewType(kFileListType);
    EXPECT_EQ(views->CurrentEntry(), two);
    EXPECT_EQ(FileTreeModel::EntryOf(views->Tree().currentIndex()), two);

    // A file node stands for its first entry (in the tree's natural order).
    const QModelIndex fileB = views->Tree().model()->index(1, 0);
    EXPECT_EQ(fileB.data().toString().toStdString(), "b.inc " + dir.Path() + " (1) ");
    views->Tree().setCurrentIndex(fileB);
    EXPECT_TRUE(views->CurrentEntry()->IsFileNode());
    EXPECT_EQ(views->SelectedEntries().size(), 1u);
    views->SetViewType(kTextureListType);
    EXPECT_EQ(views->CurrentEntry()->name, "Three");

    views->ExpandAll(true);
    EXPECT_TRUE(views->Tree().isExpanded(views->Tree().model()->index(0, 0)));
    views->ExpandAll(false);
    EXPECT_FALSE(views->Tree().isExpanded(views->Tree().model()->index(1, 0)));
}

TEST_F(ViewsFixture, FilterNarrowsEveryViewAndKeepsAShownCurrentEntry) {
    Add("stones.inc", "Jade", "green");
    Add("stones.inc", "Ruby", "red");
    TextureEntry* moss = Add("plants.inc", "Moss", "green");
    views->SelectEntries({moss});
    views->SetFilterText(QStringLiteral("GREEN"));
    EXPECT_EQ(Shown(), (Names{"Jade", "Moss"}));
    EXPECT_EQ(views->CurrentEntry(), moss);
    EXPECT_EQ(views->Tree().model()->rowCount(), 2);
}

TEST_F(ViewsFixture, GridDecodesOnlyWhatIsSeenAndOnlyOnce) {
    for (int i = 0; i < 600; ++i) SetPreview(*Add("many.inc", "T" + std::to_string(i)), static_cast<std::uint8_t>(i));
    TextureEntry* faulty = Add("many.inc", "T_faulty");
    SetPreview(*faulty, 10);
    faulty->previewFaulty = true;
    views->SetViewType(kPictureListType);
    PictureGridView& grid = views->Grid();
    // A paint decodes for a limited time and leaves the rest for the event loop.
    const auto paint = [&] {
        grid.viewport()->grab();
        while (grid.WaitingCount() > 0) QApplication::processEvents();
    };
    paint();
    const int visible = grid.Geometry().LastVisible(0) + 1;
    EXPECT_EQ(grid.DecodedCount(), visible);
    paint();
    EXPECT_EQ(grid.DecodedCount(), visible);
    Key(grid, Qt::Key_End);
    paint();
    EXPECT_LT(grid.DecodedCount(), 3 * visible);  // the faulty entry at the end is not decoded
    // A changed preview is decoded again.
    const int before = grid.DecodedCount();
    const auto shown = views->EntriesInListOrder();
    views->EntryUpdated(shown[shown.size() - 2]);
    paint();
    EXPECT_EQ(grid.DecodedCount(), before + 1);
}

TEST_F(ViewsFixture, GridZoomKeepsTheFocusedCellInViewAndTheKeyRules) {
    for (int i = 0; i < 300; ++i) SetPreview(*Add("z.inc", "Zoom_entry_with_a_long_name_" + std::to_string(1000 + i)), 40);
    views->SetViewType(kPictureListType);
    PictureGridView& grid = views->Grid();
    std::vector<int> told;
    QObject::connect(&grid, &PictureGridView::zoomStepChanged, [&](int step) { told.push_back(step); });
    const auto focusedInView = [&] {
        return grid.viewport()->rect().contains(grid.visualRect(grid.currentIndex()));
    };
    Key(grid, Qt::Key_Home);
    const int classicColumns = grid.Geometry().Columns();
    Key(grid, Qt::Key_Plus, Qt::ControlModifier);
    Key(grid, Qt::Key_Plus, Qt::ControlModifier);
    Key(grid, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(grid.ZoomStep(), 1);
    EXPECT_EQ(told, (std::vector<int>{1, 2, 1}));
    const int columns = grid.Geometry().Columns();
    EXPECT_LT(columns, classicColumns);
    EXPECT_EQ(columns, std::max(1, grid.viewport()->width() / 146));
    Key(grid, Qt::Key_Down);
    EXPECT_EQ(grid.currentIndex().row(), columns);
    Key(grid, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(views->SelectedEntries().size(), static_cast<size_t>(columns + 1));

    // Far down, the focused cell stays in view through zooming and resizing.
    Key(grid, Qt::Key_End);
    QWheelEvent wheel(QPointF(10, 10), grid.viewport()->mapToGlobal(QPointF(10, 10)), {}, QPoint(0, -240),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
    EXPECT_EQ(grid.ZoomStep(), 0);
    EXPECT_TRUE(focusedInView());
    views->resize(250, 200);
    QApplication::processEvents();
    EXPECT_TRUE(focusedInView());
    // The columns share the whole width.
    const GridGeometry g = grid.Geometry();
    EXPECT_EQ(g.CellRect(g.Columns() - 1, 0).Right(), grid.viewport()->width());

    // A shortened label's cell tells the full name and file.
    Key(grid, Qt::Key_Home);
    const QPoint at = grid.visualRect(grid.model()->index(0, 0)).center();
    QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid.viewport(), &help);
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("Zoom_entry_with_a_long_name_1000\n")));
    EXPECT_TRUE(QToolTip::text().contains(QString::fromStdString(dir / "z.inc")));
}

// As in a file manager: a drag from a selected cell takes the selection out
// unchanged, one from another cell selects the cells it passes.
TEST_F(ViewsFixture, DraggingFromASelectedCellTakesTheSelectionFromAnotherSelectsARange) {
    for (const char* name : {"A", "B", "C", "D", "E"}) Add("a.inc", name);
    views->SetViewType(kPictureListType);
    const auto drag = [&](int from, int to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        Mouse(QEvent::MouseMove, to, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
        return Selected();
    };
    views->SelectEntries({views->EntriesInListOrder()[1], views->EntriesInListOrder()[2]});
    EXPECT_EQ(drag(1, 3), (Names{"B", "C"}));
    EXPECT_EQ(drag(4, 3), (Names{"D", "E"}));
    EXPECT_EQ(views->CurrentEntry()->name, "D");
}

TEST_F(ViewsFixture, CategoryEditingRecountsAndResortsByCategory) {
    settings.SetSortBy(kSortByCategory);
    views = std::make_unique<LibraryViewStack>(controller, settings);
    controller.SetViews(views.get());
    Add("a.inc", "A", "wood");
    Add("a.inc", "B", "stone");
    EXPECT_EQ(Shown(), (Names{"B", "A"}));
    TextureListModel& model = views->Model();
    const QModelIndex cell = model.index(0, TextureListModel::kCategory);
    EXPECT_TRUE(model.setData(cell, QStringLiteral("zinc"), Qt::EditRole));
    EXPECT_EQ(Shown(), (Names{"A", "B"}));
    EXPECT_EQ(controller.Categories().size(), 2u);  // "stone" went with its last use
    EXPECT_EQ(controller.Categories().back().name, "zinc");
    EXPECT_FALSE(model.setData(model.index(0, TextureListModel::kFile), QStringLiteral("x"), Qt::EditRole));

    // F2 opens the editor over the focused row's cell; an emptied text means none.
    views->SetViewType(kTextureListType);
    views->SelectEntries({views->EntriesInListOrder().front()});
    Key(views->List(), Qt::Key_F2);
    auto* combo = views->List().viewport()->findChild<QComboBox*>();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentText(), QStringLiteral("wood"));
    EXPECT_EQ(combo->count(), 2);  // the categories in use
    combo->lineEdit()->clear();
    Key(*combo->lineEdit(), Qt::Key_Return);
    QApplication::processEvents();  // the editor commits on the next turn of the event loop
    EXPECT_EQ(views->EntriesInListOrder().back()->category, "-");  // "-" sorts last
}

TEST_F(ViewsFixture, DraggedEntriesCarryTheirDeclarationText) {
    dir.Write("decl.inc", "#declare Jade = texture { pigment { rgb <0, 1, 0> } }\n");
    TextureEntry* jade = Add("decl.inc", "Jade");
    views->Model().FlushPending();
    const std::unique_ptr<QMimeData> mime(views->Model().mimeData({views->Model().index(0, 0)}));
    const QString text = mime->text();
    EXPECT_TRUE(text.contains(QStringLiteral("#declare Jade = texture"))) << text.toStdString();
    const std::unique_ptr<QMimeData> fromTree(
        views->Tree().model()->mimeData({static_cast<FileTreeModel*>(views->Tree().model())->IndexOf(jade)}));
    EXPECT_EQ(fromTree->text(), text);
}

TEST_F(ViewsFixture, OnlySelectedModeShowsTheMarkedEntriesUnderAHeading) {
    TextureEntry* a = Add("a.inc", "A");
    Add("a.inc", "B");
    TextureEntry* c = Add("a.inc", "C");
    views->SelectEntries({a});
    EXPECT_FALSE(views->CanShowOnlySelected());
    views->SelectEntries({c, a});
    ASSERT_TRUE(views->CanShowOnlySelected());
    views->ShowOnlySelected(2, false);
    EXPECT_EQ(Shown(), (Names{"A", "C"}));
    EXPECT_TRUE(controller.onlyMarkedShown);
    const auto labels = views->findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [](QLabel* l) {
        return l->isVisible() && l->text() == QStringLiteral("-- Leere Vorschaubilder --");
    }));
    views->LeaveOnlySelected();
    EXPECT_EQ(Shown(), (Names{"A", "B", "C"}));
    EXPECT_FALSE(controller.onlyMarkedShown);
}

TEST_F(ViewsFixture, GridCellsAndListHeadersAreReadable) {
    Add("stones.inc", "Jade", "green");
    views->SetViewType(kPictureListType);
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&views->Grid());
    ASSERT_TRUE(grid && grid->childCount() == 1 && grid->child(0));
    QAccessibleInterface* cell = grid->child(0);
    EXPECT_EQ(cell->text(QAccessible::Name), QStringLiteral("Jade"));
    const QString description = cell->text(QAccessible::Description);
    EXPECT_TRUE(description.contains(QStringLiteral("stones.inc")) && description.contains(QStringLiteral("green")))
        << description.toStdString();

    views->SetViewType(kTextureListType);
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&views->List());
    QAccessibleTableInterface* table = list ? list->tableInterface() : nullptr;
    ASSERT_TRUE(table && table->cellAt(0, 0));
    EXPECT_EQ(table->columnCount(), TextureListModel::kColumnCount);
    QAccessibleInterface* first = table->cellAt(0, 0);
    EXPECT_EQ(first->text(QAccessible::Name), QStringLiteral("Jade"));
    const auto headers = first->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers.front()->text(QAccessible::Name), QStringLiteral("Textur"));
    EXPECT_EQ(headers.front()->text(QAccessible::Description), QStringLiteral("sortiert, aufsteigend"));
}

TEST_F(ViewsFixture, SortAndWidthsAreSavedWithTheSettings) {
    views->SortBy(kSortByVersion);
    views->List().setColumnWidth(0, 123);
    settings.SetSaveOnExit(true);
    views->SaveListSettings();
    IniFile ini(settings.FilePath());
    ini.Load();
    EXPECT_EQ(ini.GetInt("Display", "SortType", -1), kSortByVersion);
    EXPECT_EQ(ini.GetInt("List", "TextureWidth", -1), 123);
}

}  // namespace
}  // namespace sc
