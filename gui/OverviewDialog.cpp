#include "gui/OverviewDialog.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "gui/AccessibleNames.h"
#include "gui/BackgroundWork.h"
#include "gui/MessageDialogs.h"
#include "gui/OverviewPreviewDialog.h"
#include "gui/Translation.h"
#include "library/LibraryController.h"
#include "library/LibrarySnapshot.h"
#include "library/SourceFile.h"
#include "overview/OverviewWriter.h"
#include "platform/FileSystem.h"
#include "platform/PathUtil.h"
#include "platform/UserInterface.h"
#include "ui/Settings.h"

namespace sc {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A small picture of a layout's sample grid for its toolbar button.
QIcon LayoutIcon(int columns, int rows) {
    QPixmap pixmap(28, 21);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    p.setPen(Qt::darkGray);
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) {
            const int x0 = 1 + c * 26 / columns, x1 = 1 + (c + 1) * 26 / columns;
            const int y0 = 1 + r * 19 / rows, y1 = 1 + (r + 1) * 19 / rows;
            p.fillRect(QRect(x0, y0, std::max(1, x1 - x0 - 1), std::max(1, y1 - y0 - 1)), QColor(70, 110, 170));
        }
    p.drawRect(0, 0, 27, 20);
    return QIcon(pixmap);
}

std::uint32_t SizeOf(const QLineEdit* edit) { return static_cast<std::uint32_t>(edit->text().toUInt()); }

}  // namespace

OverviewDialog::OverviewDialog(OverviewDialogContext context, QWidget* parent)
    : QDialog(parent), context_(std::move(context)), work_(std::make_unique<BackgroundWork>(this)) {
    setWindowTitle(QTr("Texture Overviews"));
    entryKeys_.reserve(context_.entryOrder.size());
    for (TextureEntry* e : context_.entryOrder) {
        e->overviewDropped = false;
        if (e->sourceFile && !e->IsFileNode()) entryKeys_.push_back(KeyOf(*e));
    }
    for (const SourceFile* f : context_.fileOrder) fileKeys_.emplace_back(f->directory, f->fileName);
    context_.entryOrder.clear();
    context_.fileOrder.clear();
    const std::uint32_t marked = static_cast<std::uint32_t>(context_.controller->CountMarked());
    model_ = std::make_unique<OverviewDialogModel>(*context_.settings, context_.listFilePath, marked,
                                                   context_.pathsRequired, context_.povVersion, *context_.ui);

    mode30_ = new QRadioButton(QTr("POV-Ray 3.0 (only &include the files)"));
    writePaths_ = new QCheckBox(QTr("With &paths"));
    mode31_ = new QRadioButton(QTr("POV-Ray 3.1 (complete &declarations)"));
    auto* nameLabel = new QLabel(QTr("N&ame:"));
    name_ = new QLineEdit;
    nameLabel->setBuddy(name_);
    auto* povButton = SmallButton(QStringLiteral("POV"), QTr("Save the POV-Ray file"));
    auto* directoryLabel = new QLabel(QTr("F&older:"));
    directory_ = new QLineEdit;
    directoryLabel->setBuddy(directory_);
    auto* dirButton = SmallButton(QTrC("button", "Dir"), QTr("Choose a folder"));
    images2Local_ =
        new QCheckBox(QTr("Put the pict&ures in this folder - NOT in the default output folder"));

    typeGroup_ = new QGroupBox(QTr("Overview Type"));
    checkered_ = new QRadioButton(QTr("&Checkered background"));
    crackle_ = new QRadioButton(QTr("Crac&kle background"));
    showType_ = new QCheckBox(QTr("Show t&ype (M,T,P,F,C)"));
    transformationLabel_ = new QLabel(QTr("Transfor&mation:"));
    transformation_ = new QLineEdit;
    transformationLabel_->setBuddy(transformation_);
    auto* typeLayout = new QGridLayout(typeGroup_);
    typeLayout->addWidget(BuildLayoutToolbar(), 0, 0, 2, 1);
    typeLayout->addWidget(checkered_, 0, 1);
    typeLayout->addWidget(crackle_, 1, 1);
    typeLayout->addWidget(showType_, 2, 0, 1, 2);
    typeLayout->addWidget(transformationLabel_, 3, 0);
    typeLayout->addWidget(transformation_, 3, 1);

    useTemplate_ = new QCheckBox(QTr("&Template file:"));
    templatePath_ = new QLineEdit;
    templatePath_->setAccessibleName(QTr("Template file"));
    auto* templButton = SmallButton(QTrC("button", "Templ"), QTr("Choose the template file"));
    templateEdit_ = SmallButton(QTrC("button", "Edit"), QTr("Edit the template file"));
    auto* samplesLabel = new QLabel(QTr("Samples/page:"));
    samples_ = new QLineEdit;
    samples_->setReadOnly(true);
    samplesLabel->setBuddy(samples_);
    aspect_ = new QLineEdit;
    aspect_->setReadOnly(true);
    aspect_->setAccessibleName(QTr("Aspect ratio"));
    auto* widthLabel = new QLabel(QTr("&Width:"));
    width_ = new QLineEdit;
    width_->setValidator(new QIntValidator(1, 65535, width_));
    widthLabel->setBuddy(width_);
    auto* heightLabel = new QLabel(QTr("H&eight:"));
    height_ = new QLineEdit;
    height_->setValidator(new QIntValidator(1, 65535, height_));
    heightLabel->setBuddy(height_);
    auto* iniLabel = new QLabel(QTr("POV-Ray INI &file:"));
    iniFile_ = new QLineEdit;
    iniLabel->setBuddy(iniFile_);
    auto* iniButton = SmallButton(QTrC("button", "Ini"), QTr("Choose the POV-Ray INI file"));
    iniEdit_ = SmallButton(QTrC("button", "Edit"), QTr("Edit the POV-Ray INI file"));

    auto* saveDefault = new QPushButton(QTr("&Save as Default"));
    preview_ = new QPushButton(QTr("Pre&view..."));
    write_ = new QPushButton(QTr("W&rite"));
    write_->setDefault(true);
    auto* help = new QPushButton(QTrC("button", "&Help"));
    help->setEnabled(static_cast<bool>(context_.help));
    auto* cancel = cancel_ = new QPushButton(QTr("Cancel"));
    pageCount_ = new QLabel;
    MakeTextReadable(pageCount_, QTr("Page count"));
    pageCount_->setFont(QFont(QStringLiteral("Arial"), 10, QFont::Bold));

    auto* grid = new QGridLayout(this);
    int row = 0;
    grid->addWidget(mode30_, row, 0, 1, 3);
    grid->addWidget(writePaths_, row++, 3, 1, 2);
    grid->addWidget(mode31_, row++, 0, 1, 5);
    grid->addWidget(nameLabel, row, 0);
    grid->addWidget(name_, row, 1, 1, 3);
    grid->addWidget(povButton, row++, 4);
    grid->addWidget(directoryLabel, row, 0);
    grid->addWidget(directory_, row, 1, 1, 3);
    grid->addWidget(dirButton, row++, 4);
    grid->addWidget(images2Local_, row++, 0, 1, 5);
    grid->addWidget(typeGroup_, row++, 0, 1, 5);
    grid->addWidget(useTemplate_, row, 0);
    grid->addWidget(templatePath_, row, 1, 1, 2);
    grid->addWidget(templButton, row, 3);
    grid->addWidget(templateEdit_, row++, 4);
    grid->addWidget(samplesLabel, row, 0);
    grid->addWidget(samples_, row, 1);
    grid->addWidget(aspect_, row++, 2);
    grid->addWidget(widthLabel, row, 0);
    grid->addWidget(width_, row, 1);
    grid->addWidget(heightLabel, row, 2);
    grid->addWidget(height_, row++, 3);
    grid->addWidget(iniLabel, row, 0);
    grid->addWidget(iniFile_, row, 1, 1, 2);
    grid->addWidget(iniButton, row, 3);
    grid->addWidget(iniEdit_, row++, 4);
    grid->addWidget(pageCount_, row++, 0, 1, 5);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {saveDefault, preview_, write_, help, cancel}) buttons->addWidget(b);
    grid->addLayout(buttons, row, 0, 1, 5);

    connect(mode30_, &QRadioButton::clicked, this, [this] {
        ReadFields();
        model_->ChooseMode(false);
        WriteFields();
    });
    connect(mode31_, &QRadioButton::clicked, this, [this] {
        ReadFields();
        model_->ChooseMode(true);
        WriteFields();
    });
    // toggled, not clicked: a screen reader's toggle action and the keyboard
    // must run the same checks as the mouse.
    connect(writePaths_, &QCheckBox::toggled, this, [this](bool on) {
        if (!model_->SetWritePaths(on)) WriteFields();
    });
    connect(name_, &QLineEdit::editingFinished, this, [this] {
        ReadFields();
        model_->NameLeft(name_->text().toStdString());
        WriteFields();
    });
    connect(width_, &QLineEdit::editingFinished, this, [this] {
        ReadFields();
        model_->WidthLeft(SizeOf(width_));
        WriteFields();
    });
    connect(height_, &QLineEdit::editingFinished, this, [this] {
        ReadFields();
        model_->HeightLeft(SizeOf(height_));
        WriteFields();
    });
    connect(useTemplate_, &QCheckBox::toggled, this, &OverviewDialog::ToggleTemplate);
    connect(templatePath_, &QLineEdit::editingFinished, this, &OverviewDialog::ToggleTemplate);
    connect(iniFile_, &QLineEdit::editingFinished, this, [this] {
        ReadFields();
        ApplyEnables();
    });
    connect(povButton, &QPushButton::clicked, this, &OverviewDialog::BrowseName);
    connect(dirButton, &QPushButton::clicked, this, &OverviewDialog::BrowseDirectory);
    connect(templButton, &QPushButton::clicked, this, &OverviewDialog::BrowseTemplate);
    connect(iniButton, &QPushButton::clicked, this, &OverviewDialog::BrowseIni);
    connect(templateEdit_, &QPushButton::clicked, this, [this] {
        if (context_.openFile) context_.openFile(templatePath_->text().toStdString());
    });
    connect(iniEdit_, &QPushButton::clicked, this, [this] {
        if (context_.openFile) context_.openFile(iniFile_->text().toStdString());
    });
    connect(saveDefault, &QPushButton::clicked, this, &OverviewDialog::SaveAsDefault);
    connect(preview_, &QPushButton::clicked, this, &OverviewDialog::Preview);
    connect(write_, &QPushButton::clicked, this, &OverviewDialog::Write);
    connect(help, &QPushButton::clicked, this, [this] {
        if (context_.help) context_.help();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    model_->Opened();
    WriteFields();
    for (QLineEdit* field : {name_, directory_, templatePath_, iniFile_}) field->selectAll();
    NameControls(this);
}

OverviewDialog::~OverviewDialog() = default;

QPushButton* OverviewDialog::SmallButton(const QString& text, const QString& tip) {
    auto* button = new QPushButton(text);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    button->setAutoDefault(false);
    return button;
}

QWidget* OverviewDialog::BuildLayoutToolbar() {
    layoutBar_ = new QToolBar;
    layoutBar_->setAccessibleName(QTr("Overview type"));
    layoutBar_->setIconSize(QSize(28, 21));
    auto* group = new QActionGroup(this);
    const char* const names[4] = {"1x1", "4x3", "7x5", "12x9"};
    const int grids[4][2] = {{1, 1}, {4, 3}, {7, 5}, {12, 9}};
    const char* const keys[4] = {"Alt+1", "Alt+4", "Alt+7", "Alt+9"};
    for (int i = 0; i < 4; ++i) {
        layouts_[i] = layoutBar_->addAction(LayoutIcon(grids[i][0], grids[i][1]), QString::fromLatin1(names[i]));
        layouts_[i]->setCheckable(true);
        group->addAction(layouts_[i]);
        connect(layouts_[i], &QAction::triggered, this, [this, i] { ChooseLayout(i); });
        // The keyboard's way to the layouts, as the hidden buttons "&1x1" to "12x&9" offer it.
        auto* shortcut = new QShortcut(QKeySequence(QString::fromLatin1(keys[i])), this);
        connect(shortcut, &QShortcut::activated, this, [this, i] { ChooseLayout(i); });
    }
    return layoutBar_;
}

void OverviewDialog::ReadFields() {
    OverviewOptions& o = model_->Options();
    o.Name = name_->text().toStdString();
    o.Directory = directory_->text().toStdString();
    o.Images2Local = images2Local_->isChecked();
    o.Background = crackle_->isChecked() ? 1 : 0;
    o.ShowType = showType_->isChecked();
    o.transformation = transformation_->text().toStdString();
    o.useTemplate = useTemplate_->isChecked();
    o.templatePath = templatePath_->text().toStdString();
    o.Width = SizeOf(width_);
    o.Height = SizeOf(height_);
    o.IniFile = iniFile_->text().toStdString();
    o.WritePaths = writePaths_->isChecked();
}

void OverviewDialog::WriteFields() {
    const OverviewOptions& o = model_->Options();
    const QSignalBlocker blockPaths(writePaths_);
    const QSignalBlocker blockTemplate(useTemplate_);
    mode30_->setChecked(!o.WriteTextures);
    mode31_->setChecked(o.WriteTextures);
    writePaths_->setChecked(o.WritePaths);
    name_->setText(Q(o.Name));
    directory_->setText(Q(o.Directory));
    images2Local_->setChecked(o.Images2Local);
    (o.Background ? crackle_ : checkered_)->setChecked(true);
    showType_->setChecked(o.ShowType);
    transformation_->setText(Q(o.transformation));
    useTemplate_->setChecked(o.useTemplate);
    templatePath_->setText(Q(o.templatePath));
    samples_->setText(o.useTemplate || o.templateSamples ? QString::number(o.templateSamples) : QString());
    aspect_->setText(Q(model_->AspectText()));
    width_->setText(QString::number(o.Width));
    height_->setText(QString::number(o.Height));
    iniFile_->setText(Q(o.IniFile));
    for (int i = 0; i < 4; ++i) layouts_[i]->setChecked(i == o.Type);
    ApplyEnables();
    RefreshPageCount();
}

void OverviewDialog::ApplyEnables() {
    const OverviewEnables e = model_->Enables();
    for (QWidget* w : {static_cast<QWidget*>(layoutBar_), static_cast<QWidget*>(checkered_),
                       static_cast<QWidget*>(crackle_), static_cast<QWidget*>(showType_),
                       static_cast<QWidget*>(transformationLabel_), static_cast<QWidget*>(transformation_)})
        w->setEnabled(e.layout);
    typeGroup_->setEnabled(e.layout);
    writePaths_->setEnabled(e.writePaths);
    preview_->setEnabled(e.preview);
    templateEdit_->setEnabled(e.templateEdit);
    iniEdit_->setEnabled(e.iniEdit);
    write_->setEnabled(e.write);
}

void OverviewDialog::RefreshPageCount() { SetReadableText(pageCount_, Q(model_->PageCountLine())); }

QString OverviewDialog::PageCountText() const { return pageCount_->text(); }

void OverviewDialog::ToggleTemplate() {
    ReadFields();
    model_->ToggleTemplate();
    WriteFields();
}

void OverviewDialog::ChooseLayout(int type) {
    ReadFields();
    model_->ChooseLayout(type);
    WriteFields();
}

void OverviewDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (openedOnce_) return;
    openedOnce_ = true;
    // Once the window shows: the template's marker is read and the enables applied.
    QTimer::singleShot(100, this, [this] {
        if (isVisible()) ToggleTemplate();
    });
}

void OverviewDialog::BrowseName() {
    ReadFields();
    const OverviewOptions& o = model_->Options();
    const QString file = QFileDialog::getSaveFileName(this, QTr("Save POV-Ray File"),
                                                      Q(JoinPath(o.Directory, o.Name + ".pov")),
                                                      QTr("POV-Ray files (*.pov)"));
    if (file.isEmpty()) return;
    model_->NameLeft(file.toStdString());
    WriteFields();
}

void OverviewDialog::BrowseDirectory() {
    const QString folder =
        QFileDialog::getExistingDirectory(this, QTr("Choose Folder"), directory_->text());
    if (!folder.isEmpty()) directory_->setText(folder);
}

void OverviewDialog::BrowseTemplate() {
    const QString file = QFileDialog::getOpenFileName(this, QTr("Choose Template File"),
                                                      templatePath_->text(), QTr("POV-Ray files (*.pov)"));
    if (file.isEmpty()) return;
    templatePath_->setText(file);
    ToggleTemplate();
}

void OverviewDialog::BrowseIni() {
    const QString file = QFileDialog::getOpenFileName(this, QTr("Choose POV-Ray INI File"),
                                                      iniFile_->text(), QTr("INI files (*.ini)"));
    if (file.isEmpty()) return;
    iniFile_->setText(file);
    ReadFields();
    ApplyEnables();
}

void OverviewDialog::reject() {
    if (writing_) {
        context_.ui->SetCancelled(true);
        return;
    }
    QDialog::reject();
}

void OverviewDialog::SaveAsDefault() {
    ReadFields();
    model_->StoreInto(*context_.settings);
    if (!context_.settings->SaveOverview())
        context_.ui->ShowMessage(SettingsNotWrittenText(context_.settings->FilePath()),
                                 MessageIcon::Exclamation);
}

void OverviewDialog::Write() {
    if (writing_) return;
    ReadFields();
    const FontSearch fonts = context_.fonts;
    const std::string settingsPath = context_.settings->FilePath();
    RunWriter(
        [fonts, settingsPath](OverviewWriter& writer, OverviewOptions& options, UserInterface& ui) {
            return WriteOverviewCommand(writer, options, fonts, settingsPath, ui);
        },
        [this](bool written) {
            if (written) accept();
        });
}

void OverviewDialog::Preview() {
    if (writing_) return;
    ReadFields();
    OverviewOptions& options = model_->Options();
    if (!CheckOverviewFont(options, context_.fonts, true, *context_.ui)) return;
    if (!CheckTemplate(options, *context_.ui)) {
        WriteFields();
        return;
    }
    options.samplesPerPage = SamplesPerPage(options);
    const std::string folder = context_.previewFolder;
    auto result = std::make_shared<PreviewWriteResult>(PreviewWriteResult::Failed);
    RunWriter(
        [folder, result](OverviewWriter& writer, OverviewOptions& options, UserInterface& ui) {
            *result = WritePreviewFiles(writer, options, folder, ui);
            return *result == PreviewWriteResult::Written;
        },
        [this, result](bool) {
            OverviewOptions& options = model_->Options();
            if (*result == PreviewWriteResult::NothingLeft) {
                options.previewMode = false;
                reject();
                return;
            }
            if (*result == PreviewWriteResult::Written) ShowPagePreview();
            model_->Options().previewMode = false;
            WriteFields();
        });
}

void OverviewDialog::ShowPagePreview() {
    const OverviewOptions& options = model_->Options();
    std::vector<TextureEntry*> shown;
    for (const EntryKey& key : written_)
        if (TextureEntry* e = context_.controller->Library().FindEntry(key); e && e->marked && !e->overviewDropped)
            shown.push_back(e);
    const double aspect = options.Height ? static_cast<double>(options.Width) / options.Height : 1.0;
    {
        OverviewPreviewDialog dialog(JoinPath(context_.previewFolder, "SamplesPreview.ini"), shown,
                                     options.samplesPerPage, aspect, options.useTemplate, *context_.ui,
                                     context_.launcher, this);
        ExecDialog(dialog);
    }
    // The page preview took the bridge's messages while it was open.
    if (context_.restoreMessageHandler) context_.restoreMessageHandler();
    for (const auto& item : ListDirectory(context_.previewFolder, "SamplesPreview*.*"))
        if (!item.isDirectory) RemoveFile(JoinPath(context_.previewFolder, item.name));
}

namespace {

// What one run of the writer works on: its own copies of the entries, so
// the window may paint, re-read files and render while it runs.
struct WriteJob {
    TextureLibrary library;
    OverviewCopy copy;
    OverviewOptions options;
    FinishColor finishColor;
    bool result = false;
};

}  // namespace

void OverviewDialog::RunWriter(std::function<bool(OverviewWriter&, OverviewOptions&, UserInterface&)> write,
                               std::function<void(bool)> finish) {
    TextureLibrary& library = context_.controller->Library();
    std::vector<TextureEntry*> entries;
    entries.reserve(entryKeys_.size());
    for (const EntryKey& key : entryKeys_)
        if (TextureEntry* e = library.FindEntry(key)) entries.push_back(e);
    std::vector<SourceFile*> files;
    for (const auto& [directory, fileName] : fileKeys_)
        if (SourceFile* f = library.FindFile(directory, fileName)) files.push_back(f);
    auto job = std::make_shared<WriteJob>();
    job->copy = CopyForOverview(library, entries, files, job->library);
    job->options = model_->Options();
    job->finishColor = context_.settings->FinishBase();
    // A cancel left from earlier work must not end this run before it starts.
    context_.ui->SetCancelled(false);
    auto ui = std::make_shared<AskingWorkerInterface>(*context_.ui, this);
    SetWriting(true);
    work_->Start(
        // The dialog outlives the worker: destroying it stops and joins the worker first.
        [this, job, ui, write = std::move(write)](std::stop_token stop) {
            ui->SetStopToken(stop);
            OverviewWriter writer(job->library, job->options, *ui);
            writer.SetEntryOrder(job->copy.entries);
            writer.SetFileOrder(job->copy.files);
            writer.SetFinishColor(job->finishColor);
            writer.SetPageCountChanged([this, job] {
                const std::uint32_t count = job->options.texturesCount;
                QMetaObject::invokeMethod(
                    this,
                    [this, count] {
                        model_->Options().texturesCount = count;
                        RefreshPageCount();
                    },
                    Qt::QueuedConnection);
            });
            job->result = write(writer, job->options, *ui);
        },
        [this, job, finish = std::move(finish)] {
            ApplyOverviewMarks(job->copy.entries, context_.controller->Library());
            written_.clear();
            for (const TextureEntry* e : job->copy.entries) written_.push_back(KeyOf(*e));
            model_->Options() = job->options;
            SetWriting(false);
            WriteFields();
            finish(job->result);
        });
}

void OverviewDialog::SetWriting(bool writing) {
    writing_ = writing;
    // The options stay as the writer took them; only the way out stays open.
    if (writing) {
        for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (child != cancel_ && !child->isWindow() && child->isEnabled()) {
                child->setEnabled(false);
                heldDuringWriting_.push_back(child);
            }
        return;
    }
    for (const QPointer<QWidget>& child : heldDuringWriting_)
        if (child) child->setEnabled(true);
    heldDuringWriting_.clear();
    ApplyEnables();
}

}  // namespace sc
