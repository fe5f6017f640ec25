#include "window/main_window.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <span>
#include <system_error>

#include "language/language.h"
#include "window/check_panel.h"
#include "window/settings.h"
#include "window/staff_icon.h"
#include "window/text_menu.h"

// The window's resources are in its static library, which a linker may leave out
// unless they are named (Q_INIT_RESOURCE, outside any namespace).
static void registerWindowResources() { Q_INIT_RESOURCE(levara); }

namespace levara {

namespace {

// A menu item: its object name (the short name the item has always had, kept for
// whoever finds it by that name), its caption, and the command it runs.
struct MenuItem {
    const char* name;
    const char* caption;
    void (*command)(Commands&);
};

using books::WorkbookKind;

// The kind of a saved text in its proposed name.
constexpr const char* kTextKind = "text";

// The filter question names the item of the filter it offers.
struct ArrangeItem : MenuItem {
    RecordFilter filter;
};

constexpr ArrangeItem kArrangeItems[] = {
    {{"BFFB", "水准线路", [](Commands& c) { c.filterToLevelingLine(); }}, RecordFilter::Leveling},
    {{"rrz", "测中间点", [](Commands& c) { c.filterToIntermediateSights(); }}, RecordFilter::IntermediateSights},
    {{"dandian", "单点测量", [](Commands& c) { c.filterToSinglePoints(); }}, RecordFilter::SinglePoints},
};

// The workbooks of "保存" in the menu's order (books::kWorkbookKinds says the rest), then
// the text; the adjustment table follows with its own items (buildAdjustmentItems).
constexpr WorkbookKind kSavedWorkbooks[] = {
    WorkbookKind::BffbBook,  WorkbookKind::BbffBook, WorkbookKind::BfbfBook,          WorkbookKind::AbffbTwoWayBook,
    WorkbookKind::AbffbBook, WorkbookKind::BfBook,   WorkbookKind::IntermediateTable, WorkbookKind::SinglePointTable,
};
constexpr MenuItem kSaveTextItem = {"TXT", "原始文本", [](Commands& c) { c.saveText(); }};

// A menu item choosing a value: its object name, its caption and the value.
template <typename Value>
struct ValueItem {
    const char* name;
    const char* caption;
    Value value;
};

// A menu item choosing a file: "已知点文件…", or with the file in force
// "已知点文件（known.txt）…".
QString fileItemCaption(const QString& caption, const std::filesystem::path& file)
{
    if (file.empty())
        return caption + "…";
    return caption + "（" + QString::fromStdString(file.filename().string()) + "）…";
}

// Whether the two name one file; a file that does not exist is no other.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b)
{
    std::error_code error;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, error);
}

constexpr ValueItem<leveling::Distribution> kDistributionItems[] = {
    {"byDistance", "按测段长度配赋", leveling::Distribution::ByDistance},
    {"byStations", "按测站数配赋", leveling::Distribution::ByStations},
};

// The standards of "检核": the item's object name and caption, the built-in order
// (0 for none, -1 for a limits file) and whether its mountain limits apply.
struct StandardItem {
    const char* name;
    const char* caption;
    int order;
    bool mountain;
};

constexpr StandardItem kStandardItems[] = {
    {"noStandard", "不检核", 0, false},
    {"standard1", "一等", 1, false},
    {"standard2", "二等", 2, false},
    {"standard3", "三等", 3, false},
    {"standard4", "四等", 4, false},
    {"standard3Mountain", "三等(山区)", 3, true},
    {"standard4Mountain", "四等(山区)", 4, true},
    {"limitsFile", "限差文件…", -1, false},
};

const char* const kFirstPanelText = "Levara 水准记录整理 · 问题与建议请联系 Levara 开发组";

// Design sizes are in twips; 15 twips make a pixel at 96 dpi.
constexpr int pixels(int twips) { return twips / 15; }

// A raw line as the digital level writes it, with room for its trailing blank.
constexpr int kRawLineCharacters = 124;
constexpr int kStartLines = 24;

// The first local file of a drop, empty when it holds none.
QString droppedFile(const QMimeData* data)
{
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return {};
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), commands_(*this, std::move(programDir))
{
    registerWindowResources();
    setObjectName("Form1");
    setWindowTitle("Levara");
    setWindowIcon(staffIcon());

    buildTextArea();
    buildMenus();
    buildStatusBar();
    setAcceptDrops(true);
    if (!restoreGeometry(settings::windowGeometry()))
        resize(startSize());
    // The panel's width as the user left it; the panel itself shows with a check.
    panelPlaced_ = restoreState(settings::windowState());
    checkPanel_->hide();
}

QSize MainWindow::startSize() const
{
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int frames = 2 * textArea_->frameWidth();
    int margins = int(textArea_->SendScintilla(QsciScintilla::SCI_GETMARGINLEFT));
    for (int margin = 0; margin < textArea_->margins(); ++margin)
        margins += textArea_->marginWidth(margin);
    const int width = margins + QFontMetrics(textArea_->font()).horizontalAdvance(QString(kRawLineCharacters, '0')) +
                      scrollBar + frames;
    const int height = menuBar()->sizeHint().height() + statusBar()->sizeHint().height() +
                       kStartLines * int(textArea_->SendScintilla(QsciScintilla::SCI_TEXTHEIGHT, 0UL)) + scrollBar +
                       frames;
    // Clamped to the screen, with room left for the window manager's title bar.
    const QSize available =
        screen()->availableGeometry().size() - QSize(0, style()->pixelMetric(QStyle::PM_TitleBarHeight));
    return QSize(width, height).boundedTo(available);
}

void MainWindow::buildTextArea()
{
    // An editor made for large texts: a raw file of a million lines opens in a second.
    // It holds the text as UTF-8 with its CR LF line ends, exactly as the commands do.
    textArea_ = new QsciScintilla(this);
    textArea_->setObjectName("RichTextBox1");
    textArea_->setUtf8(true);
    textArea_->setEolMode(QsciScintilla::EolWindows);
    textArea_->setWrapMode(QsciScintilla::WrapNone);
    textArea_->setScrollWidth(1);
    textArea_->setScrollWidthTracking(true);
    // Raw lines are columns of bytes, and a Chinese character takes two in GB18030. In
    // Noto Sans Mono CJK a letter is 500 units wide and a Chinese character 1000 (the
    // window test measures it), so the columns after a Chinese point name stay in
    // line. An even pixel size keeps both widths whole pixels: about 12 points.
    // (QScintilla takes sizes in points.)
    QFont font("Noto Sans Mono CJK SC");
    font.setStyleHint(QFont::Monospace);
    const double dpi = logicalDpiY();
    font.setPointSizeF(2 * qRound(12 * dpi / 72 / 2) * 72 / dpi);
    textArea_->setFont(font);
    // Line numbers, so a line named in a message is easy to find.
    QFont numbers = font;
    numbers.setPointSize(9);
    textArea_->setMarginsFont(numbers);
    textArea_->setMarginLineNumbers(0, true);
    textArea_->setMarginWidth(0, "0000000");
    // Control bytes (a NUL from a memory card) show as their names, kept in the text.
    textArea_->SendScintilla(QsciScintilla::SCI_SETCONTROLCHARSYMBOL, 0UL);
    connect(textArea_, &QsciScintilla::textChanged, this, [this] {
        textChanged_ = true;
        if (puttingText_)
            return;
        edited_ = true;
        if (checkPanel_)
            checkPanel_->markOutOfDate();
    });
    connect(textArea_, &QsciScintilla::modificationChanged, this, [this] { showTitle(); });
    textArea_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textArea_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu* menu = makeTextMenu(textArea_);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(textArea_->viewport()->mapToGlobal(at));
    });
    // The layout keeps the text area on the whole client area above the status bar.
    setCentralWidget(textArea_);
    textArea_->viewport()->installEventFilter(this);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    QAction* open = bar->addAction("打开(&O)");
    open->setObjectName("open");
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] {
        if (!mayDiscardText())
            return;
        run([this] {
            if (const std::filesystem::path file = commands_.open(); !file.empty())
                opened(file);
        });
    });
    // Beside "打开", so that one click on it still opens the dialog.
    recentMenu_ = bar->addMenu("最近打开(&R)");
    recentMenu_->setObjectName("recent");
    recentMenu_->menuAction()->setObjectName("recent");
    fillRecentMenu();

    auto addMenu = [&](const char* name, const char* caption, const auto& items) -> QMenu* {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        for (const MenuItem& item : items) {
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            connect(action, &QAction::triggered, this,
                    [this, command = item.command] { run([this, command] { command(commands_); }); });
        }
        return menu;
    };
    QMenu* arrange = addMenu("zhengli", "整理(&Z)", kArrangeItems);
    arrange->addSeparator();
    QAction* restore = arrange->addAction("恢复原文");
    restore->setObjectName("restore");
    connect(restore, &QAction::triggered, this, [this] { run([this] { commands_.restoreOpened(); }); });

    QMenu* save = bar->addMenu("保存(&S)");
    save->setObjectName("save");
    save->menuAction()->setObjectName("save");
    for (const WorkbookKind kind : kSavedWorkbooks) {
        const books::WorkbookKindInfo& info = books::workbookKind(kind);
        QAction* action = save->addAction(info.caption);
        action->setObjectName(info.objectName);
        connect(action, &QAction::triggered, this, [this, kind, action] {
            lastSave_ = action;
            if (books::workbookKind(kind).order)
                return saveFieldBook(kind);
            runSave(books::workbookKind(kind).fileTag, [this, kind] { commands_.saveWorkbook(kind); });
        });
    }
    QAction* text = save->addAction(kSaveTextItem.caption);
    text->setObjectName(kSaveTextItem.name);
    connect(text, &QAction::triggered, this, [this, text] {
        lastSave_ = text;
        runSave(kTextKind, [this] { kSaveTextItem.command(commands_); });
    });
    buildAdjustmentItems(save);
    // Ctrl+S saves as the last save item did, the text before any.
    auto* saveAgain = new QAction(this);
    saveAgain->setObjectName("saveAgain");
    saveAgain->setShortcut(QKeySequence::Save);
    connect(saveAgain, &QAction::triggered, this,
            [this] { (lastSave_ ? lastSave_ : findChild<QAction*>(kSaveTextItem.name))->trigger(); });
    addAction(saveAgain);
    buildCheckMenu();
    buildEditMenu();
    buildHelpMenu();
}

void MainWindow::buildAdjustmentItems(QMenu* save)
{
    const books::WorkbookKindInfo& adjustmentTable = books::workbookKind(WorkbookKind::AdjustmentTable);
    QAction* table = save->addAction(adjustmentTable.caption);
    table->setObjectName(adjustmentTable.objectName);
    connect(table, &QAction::triggered, this, [this] {
        runSave(books::workbookKind(WorkbookKind::AdjustmentTable).fileTag, [this] {
            const std::optional<leveling::Adjustment> adjustment = commands_.saveAdjustmentTable();
            if (const auto over = adjustment ? overLimitMessage(*adjustment) : std::nullopt)
                dialogs_.showNotice(
                    Message(QT_TRANSLATE_NOOP("levara", "The table is saved, marked \"%1\": %2"), "超限", *over));
        });
    });
    const books::WorkbookKindInfo& networkTable = books::workbookKind(WorkbookKind::NetworkTable);
    QAction* network = save->addAction(networkTable.caption);
    network->setObjectName(networkTable.objectName);
    connect(network, &QAction::triggered, this, [this] {
        runSave(books::workbookKind(WorkbookKind::NetworkTable).fileTag, [this] {
            const std::optional<books::NetworkReport> report = commands_.saveNetworkTable();
            if (const auto findings = report ? networkFindingsMessage(*report) : std::nullopt)
                dialogs_.showNotice(Message(QT_TRANSLATE_NOOP("levara", "The table is saved: %1"), *findings));
        });
    });
    // The files for adjustment software, after the tables; their name is their kind.
    for (const ExchangeFormatInfo& file : kExchangeFormats) {
        QAction* action = save->addAction(file.caption);
        action->setObjectName(file.objectName);
        connect(action, &QAction::triggered, this, [this, &file] {
            runSave(file.objectName, [this, format = file.format] { commands_.saveSectionsFile(format); });
        });
    }

    save->addSeparator();
    knownPoints_ = save->addAction("已知点文件…");
    knownPoints_->setObjectName("knownPoints");
    knownPoints_->setCheckable(true);
    connect(knownPoints_, &QAction::triggered, this, [this] {
        const std::filesystem::path file = dialogs_.showOpenKnownPoints();
        chooseKnownPoints(file.empty() ? commands_.knownPointsFile() : file);
    });
    QAction* noKnownPoints = save->addAction("不用已知点文件");
    noKnownPoints->setObjectName("noKnownPoints");
    connect(noKnownPoints, &QAction::triggered, this, [this] { chooseKnownPoints({}); });
    chooseKnownPoints(settings::knownPointsFile().toStdString());

    auto* distributions = new QActionGroup(this);
    for (const auto& item : kDistributionItems) {
        QAction* action = save->addAction(item.caption);
        action->setObjectName(item.name);
        action->setCheckable(true);
        distributions->addAction(action);
        connect(action, &QAction::triggered, this, [this, item] {
            commands_.setDistribution(item.value);
            settings::setDistribution(item.name);
        });
        if (settings::distribution() == item.name)
            commands_.setDistribution(item.value);
    }
    for (const auto& item : kDistributionItems)
        save->findChild<QAction*>(item.name)->setChecked(commands_.distribution() == item.value);
}

void MainWindow::buildEditMenu()
{
    QMenu* menu = menuBar()->addMenu("编辑(&E)");
    menu->setObjectName("edit");
    menu->menuAction()->setObjectName("edit");
    auto add = [&](const char* name, const char* caption, const QKeySequence& key, auto command) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(key);
        connect(action, &QAction::triggered, this, command);
    };
    add("find", "查找…", QKeySequence::Find, [this] { find(true); });
    add("findNext", "查找下一个", QKeySequence::FindNext, [this] { find(false); });
    add("goToLine", "转到行…", QKeySequence(Qt::CTRL | Qt::Key_G), [this] {
        int line = 0, index = 0;
        textArea_->getCursorPosition(&line, &index);
        if (const int chosen = dialogs_.askLine(line + 1, textArea_->lines()); chosen > 0)
            selectLine(chosen);
    });
}

void MainWindow::find(bool ask)
{
    if (ask || findText_.empty()) {
        std::string text = dialogs_.askFindText(findText_);
        if (text.empty())
            return;
        findText_ = std::move(text);
    }
    // From the caret on, round the end to the start; case as typed.
    if (!textArea_->findFirst(QString::fromStdString(findText_), false, true, false, true))
        showStatus(Message(QT_TRANSLATE_NOOP("levara", "Not found: %1"), findText_));
    else
        textArea_->setFocus();
}

void MainWindow::buildHelpMenu()
{
    QMenu* menu = menuBar()->addMenu("帮助(&H)");
    menu->setObjectName("help");
    menu->menuAction()->setObjectName("help");
    QAction* guide = menu->addAction("使用说明");
    guide->setObjectName("guide");
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] {
        // The README from its quick start up to building it by hand.
        QFile readme(":/help/README.md");
        readme.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(readme.readAll());
        const qsizetype start = std::max<qsizetype>(0, text.indexOf("## Quick start"));
        const qsizetype end = text.indexOf("## Building by hand");
        dialogs_.showHelp(text.mid(start, end < 0 ? -1 : end - start));
    });
    QAction* about = menu->addAction("关于 Levara");
    about->setObjectName("about");
    connect(about, &QAction::triggered, this, [this] {
        dialogs_.showAbout(
            translatedText(Message(QT_TRANSLATE_NOOP("levara", "Levara %1\n\nReduces the raw files of digital levels, "
                                                               "saves their field books, checks them against the "
                                                               "leveling standards and exports them for adjustment "
                                                               "software.\n\nBuilt with Qt %2."),
                                   LEVARA_VERSION, qVersion())));
    });
}

void MainWindow::chooseKnownPoints(const std::filesystem::path& file)
{
    // Read when a table is saved, so that a file edited meanwhile counts as it is then.
    commands_.setKnownPointsFile(file);
    settings::setKnownPointsFile(QString::fromStdString(file.string()));
    knownPoints_->setChecked(!file.empty());
    knownPoints_->setText(fileItemCaption("已知点文件", file));
    const QString tip = file.empty() ? QString() : QString::fromStdString(file.string());
    knownPoints_->setToolTip(tip);
    knownPoints_->setStatusTip(tip);
}

void MainWindow::buildCheckMenu()
{
    QMenu* menu = menuBar()->addMenu("检核(&J)");
    menu->setObjectName("check");
    menu->menuAction()->setObjectName("check");
    standards_ = new QActionGroup(this);
    for (const StandardItem& item : kStandardItems) {
        QAction* action = menu->addAction(item.caption);
        action->setObjectName(item.name);
        action->setCheckable(true);
        standards_->addAction(action);
        connect(action, &QAction::triggered, this, [this, name = QString(item.name)] { chooseStandard(name, true); });
    }
    menu->addSeparator();
    QAction* check = menu->addAction("检核当前文本");
    check->setObjectName("checkText");
    check->setShortcut(Qt::Key_F5);
    connect(check, &QAction::triggered, this, [this] {
        run([this] {
            leveling::CheckReport report = checkWithOrder();
            const bool shown = checkPanel_->isVisible();
            checkPanel_->showReport(report, commands_.checkedLines());
            // Wide enough for its columns the first time, leaving the text most of the window.
            if (!shown && !panelPlaced_)
                resizeDocks({checkPanel_}, {std::min(checkPanel_->contentWidth(), width() / 2)}, Qt::Horizontal);
            showStatus(checkSummary(report));
            report_ = std::move(report);
        });
    });

    checkPanel_ = new CheckPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, checkPanel_);
    checkPanel_->hide();
    connect(checkPanel_, &CheckPanel::lineChosen, this, [this](int line) { selectLine(line, false); });
    connect(checkPanel_, &CheckPanel::saveRequested, this, [this] {
        if (report_)
            runSave("check", [this] { commands_.saveFindings(*report_); });
    });

    const QString remembered = settings::standardItem();
    chooseStandard(remembered.isEmpty() ? "noStandard" : remembered, false);
}

leveling::CheckReport MainWindow::checkWithOrder()
{
    try {
        return commands_.checkText();
    } catch (const InputError& fault) {
        // As levara-cli check --order: the user names the order the text does not.
        if (!isUnknownOrder(fault))
            throw;
        selectLine(fault.line().value());
        const std::optional<leveling::ObservationOrder> order = dialogs_.askOrder(fault.line().value());
        if (!order)
            throw Cancelled();
        return commands_.checkText(order);
    }
}

void MainWindow::saveFieldBook(WorkbookKind kind)
{
    runSave(books::workbookKind(kind).fileTag, [this, kind] {
        try {
            commands_.saveWorkbook(kind);
        } catch (const leveling::OrderContradicted& fault) {
            const std::vector<WorkbookKind> fitting =
                fault.fitting() ? books::fieldBooksOf(*fault.fitting()) : std::vector<WorkbookKind>();
            if (fitting.empty())
                throw;
            selectLine(fault.line().value());
            const std::optional<WorkbookKind> chosen = dialogs_.askFittingBook(fault.message(), fitting);
            if (!chosen)
                throw Cancelled();
            // Saved as its own item saves it, which Ctrl+S then repeats.
            const books::WorkbookKindInfo& book = books::workbookKind(*chosen);
            lastSave_ = findChild<QAction*>(book.objectName);
            saveKind_ = book.fileTag;
            commands_.saveWorkbook(*chosen);
        }
    });
}

void MainWindow::chooseStandard(const QString& name, bool remember)
{
    const auto item = std::find_if(std::begin(kStandardItems), std::end(kStandardItems),
                                   [&](const StandardItem& i) { return name == i.name; });
    if (item == std::end(kStandardItems))
        return chooseStandard("noStandard", remember);
    // The item checked before, for a limits file that is not taken.
    QAction* previous = nullptr;
    for (QAction* action : standards_->actions())
        if (action->objectName() == commandsStandardItem_)
            previous = action;
    bool chosen = false;
    run([&] {
        if (item->order == 0) {
            commands_.setStandard(std::nullopt);
        } else if (item->order > 0) {
            commands_.setStandard(leveling::chooseStandard(leveling::builtinLimits(item->order), item->mountain));
        } else {
            const std::filesystem::path file =
                remember ? dialogs_.showOpenLimits() : std::filesystem::path(settings::limitsFile().toStdString());
            if (file.empty())
                return;
            commands_.setStandard(leveling::chooseStandard(leveling::readLimitsFile(file), false));
            settings::setLimitsFile(QString::fromStdString(file.string()));
        }
        chosen = true;
    });
    if (!chosen) {
        // Cancelled or refused: the standard in force stays checked (none at the start).
        if (!previous)
            return chooseStandard("noStandard", false);
        previous->setChecked(true);
        return;
    }
    commandsStandardItem_ = item->name;
    for (QAction* action : standards_->actions()) {
        action->setChecked(action->objectName() == item->name);
        // The limits file in force shows in its item.
        if (action->objectName() == "limitsFile")
            action->setText(fileItemCaption("限差文件", item->order < 0 ? settings::limitsFile().toStdString() : ""));
    }
    if (remember)
        settings::setStandardItem(item->name);
}

void MainWindow::buildStatusBar()
{
    auto* bar = new QStatusBar(this);
    bar->setObjectName("sbar");
    bar->setSizeGripEnabled(true);
    QFont font;
    font.setFamilies({"SimSun", "宋体", "Noto Sans CJK SC"});
    font.setPointSize(9);
    bar->setFont(font);

    auto* contact = new QLabel(kFirstPanelText, bar);
    contact->setObjectName("Panel1");
    contact->setMinimumWidth(pixels(1440));
    contact->resize(pixels(5850), contact->height());
    firstPanel_ = contact;
    auto* date = new QLabel(QDate::currentDate().toString("yyyy-M-d"), bar);
    date->setObjectName("Panel2");
    date->setMinimumWidth(pixels(1440));
    date->setAlignment(Qt::AlignCenter);
    bar->addWidget(contact, 1);
    bar->addPermanentWidget(date);
    setStatusBar(bar);
}

void MainWindow::fillRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = settings::recentFiles();
    for (qsizetype i = 0; i < files.size(); ++i) {
        QString caption = QDir::toNativeSeparators(files[i]);
        QAction* action = recentMenu_->addAction(QString("&%1 %2").arg(i + 1).arg(caption.replace('&', "&&")));
        action->setData(files[i]);
        connect(action, &QAction::triggered, this, [this, file = files[i]] { openFile(file.toStdString()); });
    }
    // A further file's lines after the text's, so that the sections of several files
    // are adjusted as one network. Beside the files opened, as a file is opened first.
    recentMenu_->addSeparator();
    QAction* append = recentMenu_->addAction("追加文件…");
    append->setObjectName("append");
    connect(append, &QAction::triggered, this, [this] {
        run([this] {
            const bool first = openedFile_.empty();
            if (const std::filesystem::path file = commands_.append(); !file.empty() && first)
                opened(file);
        });
    });
    recentMenu_->menuAction()->setEnabled(!files.isEmpty());
}

void MainWindow::run(const std::function<void()>& command)
{
    try {
        command();
    } catch (const Cancelled&) {
        // The user said no to a question: nothing to report.
    } catch (const std::exception& error) {
        // The line at fault is shown before the message covers the window.
        // (A fault located in one of several files names that file's line, not the text's.)
        if (const auto* input = dynamic_cast<const InputError*>(&error); input && !input->located())
            selectLine(input->line().value());
        // Neither a file nor the text at fault: guidance (no standard chosen, …).
        const auto* levaraError = dynamic_cast<const Error*>(&error);
        if (levaraError && !dynamic_cast<const InputError*>(&error) && !dynamic_cast<const FileError*>(&error))
            return dialogs_.showWarning(levaraError->message());
        // Out of memory or a fault of Levara's own, too: one message, not a crash.
        dialogs_.showError(failureMessage(error));
    }
}

void MainWindow::runSave(const char* kind, const std::function<void()>& command)
{
    saveKind_ = kind;
    run(command);
    saveKind_ = nullptr;
}

SaveChoice MainWindow::chooseFileToSave(int filterIndex)
{
    std::filesystem::path proposed;
    if (!openedFile_.empty() && saveKind_)
        proposed = openedFile_.parent_path() / (openedFile_.stem().string() + "_" + saveKind_);
    return dialogs_.showSave(filterIndex, proposed);
}

bool MainWindow::confirmOverwrite(const std::filesystem::path& file)
{
    return dialogs_.askOverwrite(file, sameFile(file, openedFile_));
}

void MainWindow::textSaved() { textArea_->setModified(false); }

bool MainWindow::mayDiscardText()
{
    if (!textArea_->isModified())
        return true;
    switch (dialogs_.askUnsavedText(openedFile_.filename().string())) {
    case UnsavedTextAnswer::Save: {
        bool saved = false;
        runSave(kTextKind, [&] { saved = commands_.saveText(); });
        return saved;
    }
    case UnsavedTextAnswer::Discard: return true;
    case UnsavedTextAnswer::Cancel: return false;
    }
    return false;
}

void MainWindow::openFile(const std::filesystem::path& file)
{
    if (!mayDiscardText())
        return;
    run([this, &file] {
        commands_.open(file);
        opened(file);
    });
}

void MainWindow::opened(const std::filesystem::path& file)
{
    const QFileInfo info(QString::fromStdString(file.string()));
    openedFile_ = info.absoluteFilePath().toStdString();
    showTitle();
    settings::addRecentFile(info.absoluteFilePath());
    fillRecentMenu();
}

void MainWindow::showTitle()
{
    QString title = "Levara";
    if (!openedFile_.empty())
        title += " – " + QString::fromStdString(openedFile_.filename().string());
    if (textArea_->isModified())
        title += " *";
    setWindowTitle(title);
}

void MainWindow::selectLine(int line, bool focus)
{
    const auto index = static_cast<unsigned long>(line - 1);
    if (line < 1 || index >= static_cast<unsigned long>(textArea_->lines()))
        return;
    const long start = textArea_->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, index);
    const long end = textArea_->SendScintilla(QsciScintilla::SCI_GETLINEENDPOSITION, index);
    // The caret at the line's start keeps the view on the first column; the line is
    // brought to the middle of the view.
    textArea_->SendScintilla(QsciScintilla::SCI_SETSEL, static_cast<unsigned long>(end), start);
    const long shown = textArea_->SendScintilla(QsciScintilla::SCI_LINESONSCREEN);
    textArea_->SendScintilla(QsciScintilla::SCI_SETFIRSTVISIBLELINE,
                             static_cast<unsigned long>(std::max(0L, long(index) - shown / 2)));
    if (focus)
        textArea_->setFocus();
}

FilterAnswer MainWindow::askFilterFirst(RecordFilter filter)
{
    for (const ArrangeItem& item : kArrangeItems)
        if (item.filter == filter)
            return dialogs_.askFilterFirst(item.caption);
    return FilterAnswer::SaveAsItIs;
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!mayDiscardText()) {
        event->ignore();
        return;
    }
    settings::setWindowGeometry(saveGeometry());
    settings::setWindowState(saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString file = droppedFile(event->mimeData());
    if (file.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened once the drop is over: its source waits for the drop, not for a message box.
    QTimer::singleShot(0, this, [this, file] {
        if (QFileInfo(file).isDir())
            dialogs_.showNotice(
                Message(QT_TRANSLATE_NOOP("levara", "%1 is a folder; drop a raw file to open it"), file.toStdString()));
        else
            openFile(file.toStdString());
    });
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched == textArea_->viewport() &&
        (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        // A drag of text stays the text area's own.
        if (!droppedFile(drop->mimeData()).isEmpty()) {
            if (type == QEvent::Drop)
                dropEvent(drop);
            else
                drop->acceptProposedAction();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

const std::string& MainWindow::text()
{
    if (!textChanged_)
        return *shownText_;
    const long length = textArea_->SendScintilla(QsciScintilla::SCI_GETLENGTH);
    // One more for the NUL Scintilla ends it with; the text's own NULs are kept.
    std::string text(std::size_t(length) + 1, '\0');
    textArea_->SendScintilla(QsciScintilla::SCI_GETTEXT, static_cast<unsigned long>(length) + 1, text.data());
    text.resize(std::size_t(length));
    textChanged_ = false;
    shownText_ = std::make_shared<const std::string>(std::move(text));
    return *shownText_;
}

void MainWindow::putText(const std::string& text, bool undoable)
{
    puttingText_ = true;
    // Each change Scintilla reports with its text, QScintilla's accessibility support
    // copies into a QString: a text put whole would be converted whole, twice its size.
    // Put without those reports; textChanged still tells of it.
    const long reported = textArea_->SendScintilla(QsciScintilla::SCI_GETMODEVENTMASK);
    textArea_->SendScintilla(QsciScintilla::SCI_SETMODEVENTMASK, 0UL);
    // By length, not as a C string: a NUL would end it.
    textArea_->SendScintilla(QsciScintilla::SCI_BEGINUNDOACTION);
    textArea_->SendScintilla(QsciScintilla::SCI_CLEARALL);
    textArea_->SendScintilla(QsciScintilla::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()), text.data());
    textArea_->SendScintilla(QsciScintilla::SCI_ENDUNDOACTION);
    textArea_->SendScintilla(QsciScintilla::SCI_SETMODEVENTMASK, static_cast<unsigned long>(reported));
    if (!undoable)
        textArea_->SendScintilla(QsciScintilla::SCI_EMPTYUNDOBUFFER);
    textArea_->SendScintilla(QsciScintilla::SCI_GOTOPOS, 0UL);
    puttingText_ = false;
    textChanged_ = false;
    edited_ = false;
    report_.reset();
    if (checkPanel_)
        checkPanel_->clearReport();
}

void MainWindow::setText(std::string text) { setSharedText(std::make_shared<const std::string>(std::move(text))); }

void MainWindow::setSharedText(std::shared_ptr<const std::string> text)
{
    // A new text is not an edit of the old one: nothing to undo, and nothing to save.
    // (The million lines of a large file are not kept in the undo history.)
    textArea_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 0UL);
    putText(*text, false);
    textArea_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 1UL);
    textArea_->setModified(false);
    shownText_ = std::move(text);
    showTitle();
}

void MainWindow::replaceText(std::string text)
{
    replaceBySharedText(std::make_shared<const std::string>(std::move(text)));
}

void MainWindow::replaceBySharedText(std::shared_ptr<const std::string> text)
{
    // One step of the undo history, which keeps the text replaced.
    putText(*text, true);
    shownText_ = std::move(text);
}

void MainWindow::showStatus(const Message& status) { firstPanel_->setText(translatedText(status)); }

void MainWindow::clearStatus() { firstPanel_->setText(kFirstPanelText); }

void MainWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace levara
