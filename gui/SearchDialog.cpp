#include "gui/SearchDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/AccessibleNames.h"
#include "gui/BackgroundWork.h"
#include "gui/MessageDialogs.h"
#include "gui/FileChooserDialog.h"
#include "gui/SearchProgressDialog.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "library/LibrarySnapshot.h"
#include "platform/FileSystem.h"
#include "povray/LibraryPaths.h"
#include "scanner/DeclarationReader.h"
#include "ui/Settings.h"

namespace sc {
namespace {

const char* const kKindTexts[6] = {N_("&Materials"), N_("&Textures"), N_("&Pigments"),
                                   N_("&Colors"),    N_("&Finishes"), N_("&Normals")};

}  // namespace

SearchDialog::SearchDialog(const Settings& settings, std::string povHome, std::vector<std::string> explicitFiles,
                           UserInterface& ui, PathEditor editPaths, QWidget* parent)
    : QDialog(parent), home_(std::move(povHome)), explicitFiles_(std::move(explicitFiles)), ui_(ui),
      editPaths_(std::move(editPaths)) {
    setWindowTitle(QTr("Search Textures"));
    auto* patternLabel = new QLabel(QTr("Fi&les to search:"));
    patterns_ = new QLineEdit(QStringLiteral("*.inc"));
    patternLabel->setBuddy(patterns_);
    files_ = new QPushButton(QTrC("button", "Files"));
    files_->setToolTip(QTr("Choose files"));
    if (!explicitFiles_.empty()) {
        QStringList names;
        for (const auto& f : explicitFiles_) names << QString::fromStdString(f);
        patterns_->setText(names.join(QStringLiteral(";")));
    }

    auto* where = new QGroupBox(QTr("Search In"));
    libraryDirs_ = new QRadioButton(QTr("Search in the POV-Ray &include folders"));
    setUp_ = new QPushButton(QTr("Set &Up..."));
    other_ = new QRadioButton(QTr("&Other:"));
    directory_ = new QLineEdit(QString::fromStdString(settings.ScanDir()));
    directory_->setAccessibleName(QTr("Other folder"));
    browse_ = new QPushButton(QTrC("button", "Dir"));
    browse_->setToolTip(QTr("Choose a folder"));
    subdirs_ = new QCheckBox(QTr("Include &subfolders"));
    subdirs_->setChecked(settings.SearchSubdirs());
    (settings.SearchLibraryDirs() ? libraryDirs_ : other_)->setChecked(true);
    auto* whereGrid = new QGridLayout(where);
    whereGrid->addWidget(libraryDirs_, 0, 0, 1, 2);
    whereGrid->addWidget(setUp_, 0, 2);
    whereGrid->addWidget(other_, 1, 0);
    whereGrid->addWidget(directory_, 1, 1);
    whereGrid->addWidget(browse_, 1, 2);
    whereGrid->addWidget(subdirs_, 2, 1, 1, 2);

    auto* kinds = new QGroupBox(QTr("Search For"));
    auto* kindGrid = new QGridLayout(kinds);
    for (int i = 0; i < Settings::kSearchKinds; ++i) {
        kinds_[i] = new QCheckBox(QTr(kKindTexts[i]));
        kinds_[i]->setChecked(settings.SearchesKind(i));
        kindGrid->addWidget(kinds_[i], i % 3, i / 3);
    }
    includes_ = new QCheckBox(QTr("Follow the #include statements found"));
    includes_->setChecked(settings.FollowIncludes());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QTr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(patternLabel, 0, 0);
    grid->addWidget(patterns_, 0, 1);
    grid->addWidget(files_, 0, 2);
    grid->addWidget(where, 1, 0, 1, 3);
    grid->addWidget(kinds, 2, 0, 1, 3);
    grid->addWidget(includes_, 3, 0, 1, 3);
    grid->addWidget(buttons, 4, 0, 1, 3);

    connect(libraryDirs_, &QRadioButton::clicked, this, [this] {
        if (!CheckLibraryDirectories()) other_->setChecked(true);
        UpdateEnables();
    });
    connect(other_, &QRadioButton::toggled, this, &SearchDialog::UpdateEnables);
    connect(setUp_, &QPushButton::clicked, this, [this] {
        if (!FileExists(PovrayIniPath(home_))) {
            CheckLibraryDirectories();  // tells that povray.ini is missing
            return;
        }
        if (editPaths_) editPaths_();
    });
    connect(browse_, &QPushButton::clicked, this, &SearchDialog::BrowseDirectory);
    connect(files_, &QPushButton::clicked, this, &SearchDialog::ChooseFiles);
    UpdateEnables();
    setMinimumWidth(480);
    NameControls(this);
}

bool SearchDialog::CheckLibraryDirectories() { return CheckLibraryPathsForSearch(home_, ui_, editPaths_); }

void SearchDialog::UpdateEnables() {
    const bool explicitFiles = !explicitFiles_.empty();
    patterns_->setEnabled(!explicitFiles);
    files_->setEnabled(!explicitFiles);
    directory_->setEnabled(other_->isChecked() && !explicitFiles);
    browse_->setEnabled(other_->isChecked() && !explicitFiles);
    subdirs_->setEnabled(other_->isChecked() && !explicitFiles);
}

void SearchDialog::BrowseDirectory() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QTr("Choose Folder"), directory_->text());
    if (!folder.isEmpty()) directory_->setText(folder);
}

void SearchDialog::ChooseFiles() {
    std::vector<std::string> paths;
    ReadLibraryPaths(home_, paths);
    FileChooserDialog chooser(paths, this);
    if (ExecDialog(chooser) == QDialog::Accepted && !chooser.FileNames().isEmpty()) {
        SetPatterns(chooser.FileNames());
        libraryDirs_->setChecked(true);
        UpdateEnables();
    }
}

void SearchDialog::SetPatterns(const QString& patterns) { patterns_->setText(patterns); }

void SearchDialog::accept() {
    if (explicitFiles_.empty() && other_->isChecked() && !DirectoryExists(directory_->text().toStdString())) {
        ui_.ShowMessage(FillIn(Tr("The folder\n\"%1\"\ndoes not exist."), {directory_->text().toStdString()}),
                        MessageIcon::Exclamation);
        directory_->setFocus();
        return;
    }
    QDialog::accept();
}

SearchOptions SearchDialog::Options() const {
    SearchOptions o;
    o.patterns = patterns_->text().toStdString();
    o.libraryDirectories = libraryDirs_->isChecked();
    o.otherDirectory = directory_->text().toStdString();
    o.subdirectories = subdirs_->isChecked();
    for (int i = 0; i < 6; ++i) o.kinds[static_cast<size_t>(i) + 1] = kinds_[i]->isChecked();
    o.followIncludes = includes_->isChecked();
    o.explicitFiles = explicitFiles_;
    return o;
}

void SearchDialog::StoreInto(Settings& settings) const {
    const SearchOptions o = Options();
    settings.SetSearchLibraryDirs(o.libraryDirectories);
    settings.SetScanDir(o.otherDirectory);
    settings.SetSearchSubdirs(o.subdirectories);
    for (int i = 0; i < Settings::kSearchKinds; ++i) settings.SetSearchesKind(i, o.kinds[i + 1]);
    settings.SetFollowIncludes(o.followIncludes);
}

struct BackgroundSearch::Work {
    Work(UserInterface& target, QObject* context, LibraryController& from, SearchOptions options)
        : ui(target, context), controller(ui), options(std::move(options)) {
        CopyEntryNames(from.Library(), controller.Library());
        controller.SetDeclarations(&ReaderDeclarations());
    }
    WorkerInterface ui;
    LibraryController controller;  // the worker's own: the copy the search adds to
    SearchOptions options;
    SearchCounts counts;
};

BackgroundSearch::BackgroundSearch(LibraryController& controller, UserInterface& ui, QWidget* parent)
    : controller_(controller), ui_(ui), parent_(parent) {}

BackgroundSearch::~BackgroundSearch() = default;

bool BackgroundSearch::Running() const { return work_ && work_->Running(); }

void BackgroundSearch::Start(const SearchOptions& options, std::function<void(const SearchCounts&)> done) {
    work_.reset();
    progress_ = std::make_unique<SearchProgressDialog>(ui_, parent_);
    progress_->show();
    work_ = std::make_unique<BackgroundWork>();
    auto work = std::make_shared<Work>(*progress_, work_.get(), controller_, options);
    work_->Start(
        [work](std::stop_token stop) {
            work->ui.SetStopToken(stop);
            TextureSearch search(work->controller, work->options, work->ui);
            search.RunPasses();
            work->counts = search.Counts();
        },
        [this, work, done = std::move(done)] {
            progress_->hide();
            AddMissingEntries(controller_, work->controller.Library());
            // Refilling the views is the slow part of this step, so it is done
            // once, by `done`, unless a note or question shows the finds first.
            TextureSearch::OfferDirectoryCompletion(controller_, work->counts, false);
            if (done) done(work->counts);
        });
}

}  // namespace sc
