#include "window/form1.h"

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

struct MenuItem {
    const char* name;
    const char* caption;
    void (Commands::*command)();
};

constexpr MenuItem kArrangeItems[] = {
    {"BFFB", "水准线路", &Commands::BFFB},
    {"rrz", "测中间点", &Commands::rrz},
    {"dandian", "单点测量", &Commands::dandian},
};

constexpr MenuItem kSaveItems[] = {
    {"bffbEXLE", "线路手薄(BFFB)", &Commands::bffbEXLE},
    {"bbffEXLE", "线路手薄(BBFF)", &Commands::bbffEXLE},
    {"bfbfEXLE", "线路手薄(BFBF)", &Commands::bfbfEXLE},
    {"aBFFBwf", "线路手薄(aBFFB 双转往返)", &Commands::aBFFBwf},
    {"aBFFBL", "线路手薄(aBFFB 单一线路)", &Commands::aBFFBL},
    {"bfEXLE", "线路手薄(BF)", &Commands::bfEXLE},
    {"rrzEXLX", "中间点测量表格", &Commands::rrzEXLX},
    {"dandianEXCEL", "单点测量表格", &Commands::dandianEXCEL},
    {"TXT", "原始文本", &Commands::TXT},
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

Form1::Form1(Dialogs& dialogs, std::filesystem::path FilePosition, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), commands_(*this, std::move(FilePosition))
{
    setObjectName("Form1");
    setWindowTitle("Levara");
    setWindowIcon(staffIcon());

    // An editor made for large texts: a raw file of a million lines opens in a second.
    // It holds the text as UTF-8 with its CR LF line ends, exactly as the commands do.
    RichTextBox1_ = new QsciScintilla(this);
    RichTextBox1_->setObjectName("RichTextBox1");
    RichTextBox1_->setUtf8(true);
    RichTextBox1_->setEolMode(QsciScintilla::EolWindows);
    RichTextBox1_->setWrapMode(QsciScintilla::WrapNone);
    RichTextBox1_->setScrollWidth(1);
    RichTextBox1_->setScrollWidthTracking(true);
    // Raw lines are columns of ASCII: a true fixed-pitch font first, a CJK one for the
    // Chinese characters it lacks.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({"DejaVu Sans Mono", font.family(), "Noto Sans Mono CJK SC", "Noto Sans CJK SC"});
    font.setStyleHint(QFont::Monospace);
    font.setPointSize(12);
    RichTextBox1_->setFont(font);
    // Line numbers, so a line named in a message is easy to find.
    QFont numbers = font;
    numbers.setPointSize(9);
    RichTextBox1_->setMarginsFont(numbers);
    RichTextBox1_->setMarginLineNumbers(0, true);
    RichTextBox1_->setMarginWidth(0, "0000000");
    // The layout keeps the text area on the whole client area above the status bar.
    setCentralWidget(RichTextBox1_);

    buildMenus();
    buildStatusBar();
    resize(pixels(7605), pixels(5130) + menuBar()->sizeHint().height() + sbar_->sizeHint().height());
}

void Form1::buildMenus()
{
    QMenuBar* bar = menuBar();
    QAction* open = bar->addAction("打开");
    open->setObjectName("open");
    connect(open, &QAction::triggered, this, [this] { run(&Commands::open); });

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

void Form1::buildStatusBar()
{
    sbar_ = new QStatusBar(this);
    sbar_->setObjectName("sbar");
    sbar_->setSizeGripEnabled(true);
    QFont font;
    font.setFamilies({"SimSun", "宋体", "Noto Sans CJK SC"});
    font.setPointSize(9);
    sbar_->setFont(font);

    auto* contact = new QLabel("Levara 水准记录整理 · 问题与建议请联系 Levara 开发组", sbar_);
    contact->setObjectName("Panel1");
    contact->setMinimumWidth(pixels(1440));
    contact->resize(pixels(5850), contact->height());
    auto* date = new QLabel(QDate::currentDate().toString("yyyy-M-d"), sbar_);
    date->setObjectName("Panel2");
    date->setMinimumWidth(pixels(1440));
    date->setAlignment(Qt::AlignCenter);
    sbar_->addWidget(contact, 1);
    sbar_->addPermanentWidget(date);
    setStatusBar(sbar_);
}

void Form1::run(void (Commands::*command)())
{
    try {
        (commands_.*command)();
    } catch (const std::exception& error) {
        dialogs_.showError(error.what());
    }
}

std::string Form1::text()
{
    if (!RichTextBox1_->isModified())
        return shownText_;
    const long length = RichTextBox1_->SendScintilla(QsciScintilla::SCI_GETLENGTH);
    std::string text(std::size_t(length), '\0');
    RichTextBox1_->SendScintilla(QsciScintilla::SCI_GETTEXT, static_cast<unsigned long>(length) + 1, text.data());
    RichTextBox1_->setModified(false);
    shownText_ = text;
    return text;
}

void Form1::setText(std::string text)
{
    // A new text is not an edit of the old one: nothing to undo, and the million
    // lines of a large file are not copied into the undo history.
    RichTextBox1_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 0UL);
    RichTextBox1_->SendScintilla(QsciScintilla::SCI_SETTEXT, 0UL, text.c_str());
    RichTextBox1_->SendScintilla(QsciScintilla::SCI_EMPTYUNDOBUFFER);
    RichTextBox1_->SendScintilla(QsciScintilla::SCI_SETUNDOCOLLECTION, 1UL);
    RichTextBox1_->setModified(false);
    shownText_ = std::move(text);
}

void Form1::setBusy(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace levara
