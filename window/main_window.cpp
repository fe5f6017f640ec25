#include "window/main_window.h"

#include <QApplication>
#include <QDate>
#include <QFontDatabase>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <Qsci/qsciscintilla.h>

namespace levara {

namespace {

// A menu item: its object name (the short name the item has always had, kept for
// whoever finds it by that name), its caption, and the command it runs.
struct MenuItem {
    const char* name;
    const char* caption;
    void (*command)(Commands&);
};

using books::Output;

constexpr MenuItem kArrangeItems[] = {
    {"BFFB", "水准线路", [](Commands& c) { c.reduceToLevelingLine(); }},
    {"rrz", "测中间点", [](Commands& c) { c.reduceToIntermediateSights(); }},
    {"dandian", "单点测量", [](Commands& c) { c.reduceToSinglePoints(); }},
};

constexpr MenuItem kSaveItems[] = {
    {"bffbEXLE", "线路手薄(BFFB)", [](Commands& c) { c.saveWorkbook(Output::BffbBook); }},
    {"bbffEXLE", "线路手薄(BBFF)", [](Commands& c) { c.saveWorkbook(Output::BbffBook); }},
    {"bfbfEXLE", "线路手薄(BFBF)", [](Commands& c) { c.saveWorkbook(Output::BfbfBook); }},
    {"aBFFBwf", "线路手薄(aBFFB 双转往返)", [](Commands& c) { c.saveWorkbook(Output::AbffbTwoWayBook); }},
    {"aBFFBL", "线路手薄(aBFFB 单一线路)", [](Commands& c) { c.saveWorkbook(Output::AbffbBook); }},
    {"bfEXLE", "线路手薄(BF)", [](Commands& c) { c.saveWorkbook(Output::BfBook); }},
    {"rrzEXLX", "中间点测量表格", [](Commands& c) { c.saveWorkbook(Output::IntermediateTable); }},
    {"dandianEXCEL", "单点测量表格", [](Commands& c) { c.saveWorkbook(Output::SinglePointTable); }},
    {"TXT", "原始文本", [](Commands& c) { c.saveText(); }},
};

// Design sizes are in twips; 15 twips make a pixel at 96 dpi.
constexpr int pixels(int twips) { return twips / 15; }

// A leveling staff: the window's icon, at 16 and 32 pixels.
QIcon staffIcon()
{
    QIcon icon;
    for (int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        const int width = size / 3;
        const int left = (size - width) / 2;
        painter.fillRect(left, 0, width, size, Qt::yellow);
        for (int y = 0; y < size; y += size / 4)
            painter.fillRect(left, y, width, size / 8, Qt::red);
        painter.setPen(Qt::black);
        painter.drawRect(left, 0, width - 1, size - 1);
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

MainWindow::MainWindow(Dialogs& dialogs, std::filesystem::path programDir, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), commands_(*this, std::move(programDir))
{
    setObjectName("Form1");
    setWindowTitle("Levara");
    setWindowIcon(staffIcon());

    buildTextArea();
    buildMenus();
    buildStatusBar();
    resize(pixels(7605), pixels(5130) + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
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
    // Raw lines are columns of ASCII: a true fixed-pitch font first, a CJK one for the
    // Chinese characters it lacks.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"DejaVu Sans Mono", font.family(), "Noto Sans Mono CJK SC", "Noto Sans CJK SC"});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(12);
    textArea_->setFont(font);
    // Line numbers, so a line named in a message is easy to find.
    QFont numbers = font;
    numbers.setPointSize(9);
    textArea_->setMarginsFont(numbers);
    textArea_->setMarginLineNumbers(0, true);
    textArea_->setMarginWidth(0, "0000000");
    // The layout keeps the text area on the whole client area above the status bar.
    setCentralWidget(textArea_);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    QAction* open = bar->addAction("打开");
    open->setObjectName("open");
    connect(open, &QAction::triggered, this, [this] { run([](Commands& c) { c.open(); }); });

    auto addMenu = [&](const char* name, const char* caption, const auto& items) {
        QMenu* menu = bar->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        for (const MenuItem& item : items) {
            QAction* action = menu->addAction(item.caption);
            action->setObjectName(item.name);
            connect(action, &QAction::triggered, this, [this, command = item.command] { run(command); });
        }
    };
    addMenu("zhengli", "整理", kArrangeItems);
    addMenu("save", "保存", kSaveItems);
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

    auto* contact = new QLabel("Levara 水准记录整理 · 问题与建议请联系 Levara 开发组", bar);
    contact->setObjectName("Panel1");
    contact->setMinimumWidth(pixels(1440));
    contact->resize(pixels(5850), contact->height());
    auto* date = new QLabel(QDate::currentDate().toString("yyyy-M-d"), bar);
    date->setObjectName("Panel2");
    date->setMinimumWidth(pixels(1440));
    date->setAlignment(Qt::AlignCenter);
    bar->addWidget(contact, 1);
    bar->addPermanentWidget(date);
    setStatusBar(bar);
}

void MainWindow::run(void (*command)(Commands&))
{
    try {
        command(commands_);
    } catch (const Error& error) {
        dialogs_.showError(error.what());
    } catch (const std::exception& error) {
        // Out of memory, or a fault of Levara's own: still one message, not a crash.
        dialogs_.showError(error.what());
    }
}

const std::string& MainWindow::text()
{
    if (!textArea_->isModified())
        return shownText_;
    const long length = textArea_->SendScintilla(QsciScintilla::SCI_GETLENGTH);
    std::string text(std::size_t(length), '\0');
    textArea_->SendScintilla(QsciScintilla::SCI_GETTEXT, static_cast<unsigned long>(length) + 1, text.data());
    textArea_->setModified(false);
    shownText_ = std::move(text);
    return shownText_;
}

void MainWindow::setText(std::string text)
{
    // A new text is not an edit of the old one: nothing to undo, and the million
    // lines of a large file are not copied into the undo history.
    textArea_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 0UL);
    textArea_->SendScintilla(QsciScintilla::SCI_SETTEXT, 0UL, text.c_str());
    textArea_->SendScintilla(QsciScintilla::SCI_EMPTYUNDOBUFFER);
    textArea_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 1UL);
    textArea_->setModified(false);
    shownText_ = std::move(text);
}

void MainWindow::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace levara
