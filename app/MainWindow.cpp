#include "MainWindow.h"

#include "AboutTexts.h"
#include "ChannelCsvActions.h"
#include "CompareWindow.h"
#include "DataBandPanel.h"
#include "EditActions.h"
#include "ImageRoutines.h"
#include "Language.h"
#include "ListWheelGuard.h"
#include "ModelSelectWindow.h"
#include "PortBinding.h"
#include "PortWatch.h"
#include "ProgramIcons.h"
#include "QtTranslations.h"
#include "SessionState.h"
#include "SheetActions.h"
#include "UndoHistory.h"
#include "Windows.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

namespace {

// Menu captions, Chinese and English side by side.
struct MenuText {
    const char *name;
    const char *chinese;
    const char *english;
};
const MenuText MenuTexts[] = {
    {"File", "文件", "File"},
    {"File_New", "新建", "New"},
    {"File_Open", "打开", "Open"},
    {"File_save", "保存", "Save"},
    {"File_saveas", "另存为", "Save As"},
    {"File_ImportCsv", "导入 CSV 信道列表...", "Import CSV Channel List..."},
    {"File_ExportCsv", "导出 CSV 信道列表...", "Export CSV Channel List..."},
    {"File_Print", "打印…", "Print…"},
    {"File_ExportPdf", "导出 PDF", "Export PDF"},
    {"File_Compare", "与文件比较…", "Compare with file…"},
    {"File_exit", "退出", "Exit"},
    {"proc_type", "机型", "Model"},
    {"Edit", "编辑", "Edit"},
    {"Channel_edit", "信道信息", "Channel Information "},
    {"Optional_edit", "可选功能", "Optional Features"},
    {"Test_edit", "收音机编辑", "Radio"},
    {"Program", "编程", "Program"},
    {"Prog_read", "从对讲机读取数据", "Read from radio"},
    {"Prog_write", "向对讲机写入数据", "Write to radio"},
    {"Prog_verify", "校验对讲机数据", "Verify radio"},
    {"Prog_batch", "批量写入", "Write to several radios"},
    {"Adjust", "调整", "Adjust"},
    {"Adj_Txp", "发射功率调整", "Power Adjust"},
    {"proc_setup", "端口设置", "Communication"},
    {"Language_Setup", "语言", "Language"},
    {"Menu_About", "关于", "About"},
    {"Menu_exit", "退出", "Exit"},
};

const char *const CompanyChinese = "北岭远岚电子有限公司";
const char *const CompanyEnglish = "Norvale TARVEX Electronic Co.,Ltd. ";
const char *const CaptionChinese = "北岭远岚电子有限公司  QL540 系列对讲机编程软件 ";
const char *const CaptionEnglish =
    "Norvale TARVEX Electronic Co.,Ltd. QL540 series program software ";

// Toolbar buttons by key, with the tool tips of both languages; a screen
// reader names each button by its action's text, the same words, and says
// after it what the tool tip cannot show: its key, or what it does.
struct ToolButton {
    const char *key;
    const char *icon; // ProgramIcon name
    const char *chinese;
    const char *english;
    const char *spokenChinese;
    const char *spokenEnglish;
};
const ToolButton ToolButtons[] = {
    {"open", "open", "打开", "Open", "Ctrl+O", "Ctrl+O"},
    {"save", "save", "保存", "Save", "Ctrl+S", "Ctrl+S"},
    {"edit_chann", "channels", "信道信息", "Channel Information", "打开信道表",
     "Opens the channel grid"},
    {"read", "read", "从对讲机读取数据", "Read from radio", "Ctrl+R", "Ctrl+R"},
    {"write", "write", "向对讲机写入数据", "Write to radio", "Ctrl+W", "Ctrl+W"},
    {"Exit", "exit", "退出", "Exit", "关闭程序，不询问", "Closes the program without asking"},
};

// Status panel widths in percent of the main window's width.
const int PanelPercent[8] = {5, 15, 6, 8, 10, 5, 16, 35};

} // namespace

MainWindow::MainWindow()
{
    setObjectName(QStringLiteral("MDImain"));
    // Before any window, so it hears each change before they redraw it.
    history_ = new UndoHistory(this);
    connect(history_, &UndoHistory::replayed, this, [](const ImageChange &change) {
        if (change.touches(BandLimitRow))
            FollowBandRecord();
    });
    area_ = new QMdiArea(this);
    area_->setObjectName(QStringLiteral("MdiArea"));
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    InstallListWheelGuard();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    // The child windows open in the area, handed the Edit menu's undo and redo.
    Windows::AttachToMainFrame(this, editActions_->context());
    // The status bar names the port (with its device where that differs:
    // "COM1: COM12") and the chosen model's band.
    const auto showPort = [this] { setPanelText(3, PortNumberLabel(PortNumber)); };
    connect(&SessionState::instance(), &SessionState::portChanged, this, showPort);
    connect(&PortWatch::instance(), &PortWatch::bindingChanged, this, showPort);
    connect(&PortWatch::instance(), &PortWatch::portsChanged, this, showPort);
    connect(&SessionState::instance(), &SessionState::modelChanged, this,
            [this](int, double low, double high) { setPanelText(7, BandText(low, high)); });
}

MainWindow::~MainWindow() { Windows::DetachFromMainFrame(this); }

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!Windows::CommitTyped()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

QAction *MainWindow::addCommand(QMenu *menu, const char *name, std::function<void()> command)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, std::move(command));
    return action;
}

QAction *MainWindow::addOpenAction(QMenu *menu, const char *name, WindowId target)
{
    return addCommand(menu, name, [target] { Windows::Open(target); });
}

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto topMenu = [bar](const char *name) {
        QMenu *menu = bar->addMenu(QString());
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        return menu;
    };
    // A top-level entry that acts directly rather than opening a submenu.
    auto topAction = [this, bar](const char *name) {
        QAction *action = bar->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setParent(this);
        return action;
    };

    QMenu *file = topMenu("File");
    QAction *fileNew = file->addAction(QString());
    fileNew->setObjectName(QStringLiteral("File_New"));
    fileNew->setShortcut(QKeySequence(QStringLiteral("Ctrl+N")));
    addOpenAction(file, "File_Open", WindowId::OpenChannel)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    addOpenAction(file, "File_save", WindowId::SaveChannel)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    addOpenAction(file, "File_saveas", WindowId::SaveChannel);
    file->addSeparator();
    addCommand(file, "File_ImportCsv", [this] { ImportChannelsCsv(this); });
    addCommand(file, "File_ExportCsv", [this] { ExportChannelsCsv(this); });
    QAction *print = addCommand(file, "File_Print", [this] { PrintChannelSheetWithPreview(this); });
    print->setShortcut(QKeySequence(QStringLiteral("Ctrl+P")));
    addCommand(file, "File_ExportPdf", [this] { ExportChannelSheetPdf(this); });
    addCommand(file, "File_Compare", [] { OpenCompareWindow(); });
    file->addSeparator();
    addCommand(file, "File_exit", [this] { close(); });

    connect(topAction("proc_type"), &QAction::triggered, this,
            [] { Windows::Open(WindowId::ModelSelect); });

    QMenu *edit = topMenu("Edit");
    addOpenAction(edit, "Channel_edit", WindowId::ChannelGrid);
    addOpenAction(edit, "Optional_edit", WindowId::Options);
    addOpenAction(edit, "Test_edit", WindowId::FmList);
    editActions_ = new EditActions(edit, history_);

    QMenu *program = topMenu("Program");
    addOpenAction(program, "Prog_read", WindowId::Read)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    addOpenAction(program, "Prog_write", WindowId::Write)
        ->setShortcut(QKeySequence(QStringLiteral("Ctrl+W")));
    addOpenAction(program, "Prog_verify", WindowId::Verify);
    addOpenAction(program, "Prog_batch", WindowId::BatchWrite);

    QMenu *adjust = topMenu("Adjust");
    addOpenAction(adjust, "Adj_Txp", WindowId::Power);

    connect(topAction("proc_setup"), &QAction::triggered, this,
            [] { Windows::Open(WindowId::PortSetup); });

    QMenu *language = topMenu("Language_Setup");
    QAction *chinese = language->addAction(QStringLiteral("中文"));
    chinese->setObjectName(QStringLiteral("Language_chn"));
    chinese->setCheckable(true);
    connect(chinese, &QAction::triggered, this, [this] { switchLanguage(true); });
    QAction *english = language->addAction(QStringLiteral("English"));
    english->setObjectName(QStringLiteral("Language_eng"));
    english->setCheckable(true);
    connect(english, &QAction::triggered, this, [this] { switchLanguage(false); });

    connect(topAction("Menu_About"), &QAction::triggered, this,
            [] { Windows::Open(WindowId::About); });
    connect(topAction("Menu_exit"), &QAction::triggered, this, &QWidget::close);

    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this,
            &MainWindow::enterMenuBar);
    bar->installEventFilter(this);
    // A choice made: the focus goes where the action put it, or back where
    // it was when the action left it on the bar.
    connect(bar, &QMenuBar::triggered, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (QApplication::focusWidget() == menuBar())
                leaveMenuBar();
            beforeMenuBar_.clear();
        });
    });
}

void MainWindow::enterMenuBar()
{
    QMenuBar *bar = menuBar();
    if (bar->actions().isEmpty())
        return;
    beforeMenuBar_ = QApplication::focusWidget();
    bar->setFocus(Qt::MenuBarFocusReason);
    bar->setActiveAction(bar->actions().constFirst());
}

void MainWindow::leaveMenuBar()
{
    QMenuBar *bar = menuBar();
    bar->setActiveAction(nullptr);
    if (beforeMenuBar_)
        beforeMenuBar_->setFocus(Qt::MenuBarFocusReason);
    beforeMenuBar_.clear();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Esc on the bar itself, its menus closed, leaves the menus. After Alt
    // the menu bar does that on its own.
    if (watched == menuBar() && event->type() == QEvent::KeyPress && beforeMenuBar_
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && !QApplication::activePopupWidget()) {
        leaveMenuBar();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::buildToolbar()
{
    toolbar_ = addToolBar(QString());
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    // The buttons carry their texts for screen readers; they show icons.
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButton &b : ToolButtons) {
        const QString key = QString::fromLatin1(b.key);
        QAction *action = toolbar_->addAction(ProgramIcon(b.icon), QString());
        action->setObjectName(key);
        action->setData(key);
        connect(action, &QAction::triggered, this, [this, key] { toolbarButton(key); });
    }
}

void MainWindow::toolbarButton(const QString &key)
{
    if (key == QLatin1String("open"))
        Windows::Open(WindowId::OpenChannel);
    else if (key == QLatin1String("save"))
        Windows::Open(WindowId::SaveChannel);
    else if (key == QLatin1String("edit_chann"))
        Windows::Open(WindowId::ChannelGrid);
    else if (key == QLatin1String("read"))
        Windows::Open(WindowId::Read);
    else if (key == QLatin1String("write"))
        Windows::Open(WindowId::Write);
    else if (key == QLatin1String("Exit"))
        close();
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 8; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel);
        panels_[i] = panel;
        if (i == 1) { // in the empty panel's place while it shows
            dataBand_ = new DataBandPanel(panel, bar);
            bar->addWidget(dataBand_);
        }
    }
}

void MainWindow::setPanelWidths()
{
    // Fixed once at start-up, from the window width at that moment.
    for (int i = 0; i < 8; ++i) {
        panelWidths_[i] = width() * PanelPercent[i] / 100;
        panels_[i]->setFixedWidth(panelWidths_[i]);
    }
    fitPortPanel();
}

// The port panel has its width for "COM3"; naming the device as well
// ("COM1: COM12") it takes what more it needs from the last panel, the
// maker's name.
void MainWindow::fitPortPanel()
{
    if (panelWidths_[2] == 0)
        return; // before start-up has set the widths
    QLabel *port = panels_[2];
    const bool device = port->text().contains(u':');
    const int extra =
        device ? std::clamp(port->sizeHint().width() - panelWidths_[2], 0, panelWidths_[7] / 2) : 0;
    port->setFixedWidth(panelWidths_[2] + extra);
    panels_[7]->setFixedWidth(panelWidths_[7] - extra);
}

void MainWindow::setPanelText(int panel, const QString &text)
{
    if (panel >= 1 && panel <= 8)
        panels_[panel - 1]->setText(text);
    if (panel == 3)
        fitPortPanel();
}

QString MainWindow::panelText(int panel) const
{
    return panel >= 1 && panel <= 8 ? panels_[panel - 1]->text() : QString();
}

void MainWindow::applyTexts()
{
    for (const MenuText &m : MenuTexts) {
        const QString name = QString::fromLatin1(m.name);
        const QString text = Texts(m.chinese, m.english);
        if (auto *menu = findChild<QMenu *>(name))
            menu->setTitle(text);
        else if (auto *action = findChild<QAction *>(name))
            action->setText(text);
    }
    for (const ToolButton &b : ToolButtons) {
        QAction *action = toolbar_->findChild<QAction *>(QString::fromLatin1(b.key));
        action->setText(Texts(b.chinese, b.english));
        action->setToolTip(action->text());
        toolbar_->widgetForAction(action)->setAccessibleDescription(
            Texts(b.spokenChinese, b.spokenEnglish));
    }
    toolbar_->setAccessibleName(Texts("工具栏", "Toolbar"));
    statusBar()->setAccessibleName(Texts("状态栏", "Status bar"));
    area_->setAccessibleName(Texts("窗口区", "Windows"));
    editActions_->applyTexts();
    findChild<QAction *>(QStringLiteral("Language_chn"))->setChecked(IsChinese);
    findChild<QAction *>(QStringLiteral("Language_eng"))->setChecked(!IsChinese);
    setPanelText(1, Texts("状态", "State"));
    setPanelText(2, QString());
    setPanelText(3, PortNumberLabel(PortNumber));
    setPanelText(4, Texts("软件版本", "  Version"));
    setPanelText(6, Texts("频段", "Band"));
    setPanelText(8, Texts(CompanyChinese, CompanyEnglish));
    dataBand_->refresh();
    setWindowTitle(Texts(CaptionChinese, CaptionEnglish));
}

void MainWindow::startUp()
{
    ResetGlobals(); // version, Chinese, port 1, tone list, model table, image
    ResetOpenWindows();
    history_->clear(); // the default image is where the history begins
    SetAboutTexts();
    UseQtTranslations(IsChinese);
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen ? screen->size() : QSize(1600, 1000);
    resize(int(screenSize.width() / 1.5), int(screenSize.height() / 1.5));
    show();
    setPanelWidths();
    setPanelText(1, QString());
    applyTexts();
    // The start-up captions differ from the switched ones by a blank.
    findChild<QAction *>(QStringLiteral("proc_type"))->setText(QStringLiteral("机 型"));
    setPanelText(6, QStringLiteral("频 段"));
    setPanelText(5, VersionText);
    setPanelText(7, BandText(BandLowMHz, BandHighMHz));
    Windows::Open(WindowId::ChannelGrid);
}

void MainWindow::switchLanguage(bool chinese)
{
    // The windows are rebuilt: what is typed is stored first, and a field
    // that refuses its text keeps the language as it is.
    if (!Windows::CommitTyped()) {
        findChild<QAction *>(QStringLiteral("Language_chn"))->setChecked(IsChinese);
        findChild<QAction *>(QStringLiteral("Language_eng"))->setChecked(!IsChinese);
        return;
    }
    if (IsChinese != chinese) {
        SessionState::instance().setChinese(chinese);
        SetAboutTexts();
        UseQtTranslations(IsChinese);
    }
    applyTexts();
    Windows::ReloadOpenWindows();
    emit languageSwitched();
}
