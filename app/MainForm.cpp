#include "app/MainForm.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/HiClass.h"
#include "app/LoginForm.h"
#include "app/Prompts.h"
#include "app/ReportView.h"
#include "app/SkinClass.h"
#include "booking/EntryPage.h"
#include "browse/TransPage.h"
#include "output/OutputCommands.h"
#include "store/DbClass.h"

#include <QAction>
#include <QDateEdit>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {

QFrame* makePanel(const QString& name, QWidget* parent, const QRect& geometry)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    return panel;
}

QLabel* makeImage(const QString& name, QFrame* panel)
{
    auto* image = new QLabel(panel);
    image->setObjectName(name);
    image->setGeometry(panel->rect());
    return image;
}

// The menu button's two pictures, 38 x 13: raised and pressed.
QPixmap menuPicture(bool up)
{
    QPixmap pm(38, 13);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = up ? QColor(236, 240, 246) : QColor(206, 214, 228);
    p.setPen(up ? QColor(150, 160, 176) : QColor(96, 108, 130));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0.5, 0.5, 37, 12), 2, 2);
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(10);
    p.setFont(f);
    p.setPen(QColor(40, 48, 64));
    const int shift = up ? 0 : 1;
    p.drawText(QRect(3 + shift, shift, 24, 13), Qt::AlignCenter, QStringLiteral("菜单"));
    QPainterPath arrow;
    arrow.moveTo(28 + shift, 5 + shift);
    arrow.lineTo(34 + shift, 5 + shift);
    arrow.lineTo(31 + shift, 8.5 + shift);
    arrow.closeSubpath();
    p.fillPath(arrow, QColor(40, 48, 64));
    return pm;
}

} // namespace

TfrmMain::TfrmMain(MainSeams seams, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_seams(std::move(seams)), m_prompts(m_seams.prompts)
{
    setObjectName(QStringLiteral("frmMain"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(WindowFont());
    setFixedSize(700, 525);
    buildFrame();
    buildPageBar();
    buildMenu();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    FormDestroy();
}

void TfrmMain::buildFrame()
{
    pnlTop = makePanel(QStringLiteral("pnlTop"), this, QRect(0, 0, 700, 36));
    imgTop = makeImage(QStringLiteral("imgTop"), pnlTop);
    pnlLeft = makePanel(QStringLiteral("pnlLeft"), this, QRect(0, 36, 2, 483));
    imgLeft = makeImage(QStringLiteral("imgLeft"), pnlLeft);
    pnlRight = makePanel(QStringLiteral("pnlRight"), this, QRect(698, 36, 2, 483));
    imgRight = makeImage(QStringLiteral("imgRight"), pnlRight);
    pnlBottom = makePanel(QStringLiteral("pnlBottom"), this, QRect(0, 519, 700, 6));
    imgBottom = makeImage(QStringLiteral("imgBottom"), pnlBottom);
    pnlCenter = makePanel(QStringLiteral("pnlCenter"), this, QRect(2, 36, 696, 483));
}

void TfrmMain::buildPageBar()
{
    pnlControl = makePanel(QStringLiteral("pnlControl"), pnlCenter, QRect(0, 0, 696, 38));
    pnlControl->setAutoFillBackground(true);
    QPalette white = pnlControl->palette();
    white.setColor(QPalette::Window, Qt::white);
    pnlControl->setPalette(white);
    auto* shpTop2 = makePanel(QStringLiteral("shpTop2"), pnlControl, QRect(0, 36, 696, 1));
    shpTop2->setStyleSheet(QStringLiteral("background: #c0c0c0;"));
    auto* shpTop3 = makePanel(QStringLiteral("shpTop3"), pnlControl, QRect(0, 37, 696, 1));
    shpTop3->setStyleSheet(QStringLiteral("background: #ffffff;"));

    QFont bold = font();
    bold.setBold(true);
    auto makeRadio = [&](const QString& name, const QString& text, int x) {
        auto* radio = new QRadioButton(text, pnlControl);
        radio->setObjectName(name);
        radio->setFont(bold);
        radio->setGeometry(x, 10, 80, 17);
        connect(radio, &QRadioButton::clicked, this, GuardedSlot([this] { rdoExpenseClick(); }));
        return radio;
    };
    rdoExpense = makeRadio(QStringLiteral("rdoExpense"), QStringLiteral("支出记帐"), 12);
    rdoIncome = makeRadio(QStringLiteral("rdoIncome"), QStringLiteral("收入记帐"), 101);
    rdoTransactions = makeRadio(QStringLiteral("rdoTransactions"), QStringLiteral("收支目录"), 192);

    imgMenu = new QLabel(pnlControl);
    imgMenu->setObjectName(QStringLiteral("imgMenu"));
    imgMenu->setGeometry(644, 12, 38, 13);
    imgMenu->setCursor(Qt::PointingHandCursor);
    imgMenu->setToolTip(QStringLiteral("菜单"));
    imgMenu->installEventFilter(this);
    m_menuUp = menuPicture(true);
    m_menuDown = menuPicture(false);

    pnlExpense = new TEntryPage(*this, EntryKind::Expense, pnlCenter);
    pnlExpense->setGeometry(0, 38, 696, 445);
    pnlIncome = new TEntryPage(*this, EntryKind::Income, pnlCenter);
    pnlIncome->setGeometry(0, 38, 696, 445);
    pnlTransactions = new TTransPage(*this, pnlCenter);
    pnlTransactions->setGeometry(0, 38, 696, 445);
}

void TfrmMain::buildMenu()
{
    mnuMenu = new QMenu(this);
    mnuMenu->setObjectName(QStringLiteral("mnuMenu"));
    auto add = [this](const QString& name, const QString& text, void (TfrmMain::*handler)()) {
        QAction* action = mnuMenu->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, GuardedSlot([this, handler] { (this->*handler)(); }));
        return action;
    };
    mnuMenu_SwitchUser = add(QStringLiteral("mnuMenu_SwitchUser"), QStringLiteral("切换用户"),
                             &TfrmMain::mnuMenu_SwitchUserClick);
    QFont bold = mnuMenu->font();
    bold.setBold(true);
    mnuMenu_SwitchUser->setFont(bold);
    mnuMenu->setDefaultAction(mnuMenu_SwitchUser);
    mnuMenu->addSeparator();
    mnuMenu_SetPwd = add(QStringLiteral("mnuMenu_SetPwd"), QStringLiteral("修改密码"), &TfrmMain::mnuMenu_SetPwdClick);
    mnuMenu_DeleteUser = add(QStringLiteral("mnuMenu_DeleteUser"), QString(), &TfrmMain::mnuMenu_DeleteUserClick);
    mnuMenu->addSeparator();
    mnuMenu_Backup = add(QStringLiteral("mnuMenu_Backup"), QStringLiteral("备份数据"), &TfrmMain::mnuMenu_BackupClick);
    mnuMenu_Restore =
        add(QStringLiteral("mnuMenu_Restore"), QStringLiteral("从备份中恢复数据"), &TfrmMain::mnuMenu_RestoreClick);
    mnuMenu->addSeparator();
    mnuMenu_Exit = add(QStringLiteral("mnuMenu_Exit"), QStringLiteral("退出"), &TfrmMain::mnuMenu_ExitClick);
}

void TfrmMain::FormCreate()
{
    QApplication::setApplicationName(QStringLiteral("Zendrel"));
    setWindowTitle(QStringLiteral("Zendrel"));
    setWindowIcon(QApplication::windowIcon());

    const LoginResult login = m_seams.login ? m_seams.login() : LoginUser(*m_prompts);
    FDbFile = login.dbFile;
    FUserName = login.userName;
    if (FUserName.isEmpty() || !QFileInfo(FDbFile).isFile()) {
        m_loggedIn = false;
        return;
    }
    m_loggedIn = true;
    FDb = std::make_unique<TDbMan>(FDbFile);

    setWindowTitle(QStringLiteral("%1 - 用户名称：%2").arg(QStringLiteral("Zendrel"), FUserName));
    mnuMenu_DeleteUser->setText(QStringLiteral("删除 %1").arg(FUserName));
    FSelectedKey.clear();

    rdoExpense->setChecked(true);
    rdoExpenseClick();
    pnlTransactions->rdoTransTransactions->setChecked(true);
    pnlTransactions->rdoTransTransactionsClick();

    const QDate today = QDate::currentDate();
    pnlExpense->SetDate(today);
    pnlIncome->SetDate(today);
    pnlTransactions->InitDates(today);

    pnlExpense->UpdateTotalLabel();
    pnlIncome->UpdateTotalLabel();
    pnlTransactions->ShowPeriodTotals(0, 0);
    pnlExpense->LoadCategories();
    pnlIncome->LoadCategories();
    UpdateButtons();
    pnlExpense->CateChange();
    pnlIncome->CateChange();
    pnlTransactions->dtpTransDate1Change();
    pnlTransactions->TabSet1Click();
    ShowMenuImage(true);
    InstallOutputCommands(*this);
    FSkin = new TSkinMan(imgLeft, imgTop, imgRight, imgBottom, pnlCenter);
    THi::MakeButtonsFlat(this);
    // Typing starts on the expense page's first input.
    pnlExpense->dtpDate->setFocus();

    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmMain::FormDestroy()
{
    delete FSkin;
    FSkin = nullptr;
    FDb.reset();
}

void TfrmMain::UpdateButtons()
{
    auto rows = [](const ReportView* v) { return v->reportModel()->rowCount() > 0; };
    auto selected = [](const ReportView* v) { return v->hasSelection(); };
    pnlExpense->btnSave->setEnabled(rows(pnlExpense->lvwRecs));
    pnlExpense->btnEdit->setEnabled(selected(pnlExpense->lvwRecs));
    pnlExpense->btnDelete->setEnabled(selected(pnlExpense->lvwRecs));
    pnlIncome->btnSave->setEnabled(rows(pnlIncome->lvwRecs));
    pnlIncome->btnEdit->setEnabled(selected(pnlIncome->lvwRecs));
    pnlIncome->btnDelete->setEnabled(selected(pnlIncome->lvwRecs));
    TTransPage* t = pnlTransactions;
    t->btnTransMore->setEnabled(rows(t->lvwTrans));
    t->btnTransEdit->setEnabled(selected(t->lvwTrans));
    t->btnTransDelete->setEnabled(selected(t->lvwTrans));
    t->btnMoreInfo->setEnabled(FActiveCateList != nullptr);
    const bool ranked = rows(t->lvwInCates) || rows(t->lvwOutCates);
    t->btnCatesExport->setEnabled(ranked);
    t->btnCatesPrint->setEnabled(ranked);
}

void TfrmMain::ShowMenuImage(bool up)
{
    imgMenu->setPixmap(up ? m_menuUp : m_menuDown);
}

void TfrmMain::Restart(const QString& parameters)
{
    if (m_seams.startInstance)
        m_seams.startInstance(parameters);
    else
        THi::RunProgram(QApplication::applicationFilePath(), parameters, QString(), 1);
    close();
}

void TfrmMain::rdoExpenseClick()
{
    pnlExpense->setVisible(rdoExpense->isChecked());
    pnlIncome->setVisible(rdoIncome->isChecked());
    pnlTransactions->setVisible(rdoTransactions->isChecked());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgMenu) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
                ShowMenuImage(false);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                ShowMenuImage(true);
                mnuMenu->popup(QCursor::pos());
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::mnuMenu_SwitchUserClick()
{
    if (!m_prompts->question(this, QStringLiteral("确认"), QStringLiteral("您真的想要切换用户吗？")))
        return;
    Restart(QString());
}

void TfrmMain::mnuMenu_SetPwdClick()
{
    QString value;
    for (;;) {
        const auto entered = m_prompts->input(this, QStringLiteral("修改密码"),
                                              QStringLiteral("请输入一个新的密码：") + QString(10, QLatin1Char(' ')), value);
        if (!entered) {
            value.clear();
            break;
        }
        value = THi::Trim(*entered);
        if (!value.isEmpty())
            break;
    }
    if (value.isEmpty())
        return;
    {
        BusyGuard busy;
        FDb->ReplaceUser(FUserName, value);
    }
    m_prompts->message(this, Prompts::Icon::Information, QStringLiteral("修改密码"), QStringLiteral("成功！"));
}

void TfrmMain::mnuMenu_DeleteUserClick()
{
    if (!m_prompts->question(this, QStringLiteral("确认"), QStringLiteral("您真的想要删除 %1 吗？").arg(FUserName)))
        return;
    {
        BusyGuard busy;
        FDb->DeleteUser(FUserName);
    }
    Restart(QString());
}

void TfrmMain::mnuMenu_ExitClick()
{
    close();
}
