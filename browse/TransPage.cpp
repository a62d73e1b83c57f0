#include "browse/TransPage.h"

#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/ReportView.h"

#include <QAction>
#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTabBar>
#include <QVBoxLayout>

namespace {

ReportModel* totalsModel(const QString& firstCaption)
{
    return new ReportModel({{QString(), 0},
                            {firstCaption, 220},
                            {QStringLiteral("收入"), 210, Qt::AlignRight},
                            {QStringLiteral("支出"), 210, Qt::AlignRight}});
}

ReportModel* rankingModel(const QString& amountCaption)
{
    return new ReportModel({{QString(), 0},
                            {QStringLiteral("类别"), 80},
                            {QStringLiteral("项目"), 320},
                            {QStringLiteral("数量"), 80, Qt::AlignRight},
                            {amountCaption, 80, Qt::AlignRight},
                            {QStringLiteral("0 - 100%"), 80, Qt::AlignRight}});
}

} // namespace

TTransPage::TTransPage(TfrmMain& main, QWidget* parent) : QWidget(parent), m_main(main)
{
    setObjectName(QStringLiteral("pnlTransactions"));
    buildLayout();
}

void TTransPage::buildLayout()
{
    QFont bold = font();
    bold.setBold(true);
    auto button = [](QWidget* parent, const QString& name, const QString& text, int x, int y) {
        auto* b = new QPushButton(text, parent);
        b->setObjectName(name);
        b->setGeometry(x, y, 74, 23);
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::ClickFocus);
        return b;
    };
    auto picker = [this](const QString& name, int x) {
        auto* d = new QDateEdit(this);
        d->setObjectName(name);
        d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        d->setCalendarPopup(true);
        d->setGeometry(x, 10, 155, 21);
        d->setFocusPolicy(Qt::ClickFocus);
        return d;
    };
    auto totalLabel = [&](QWidget* parent, const QString& name) {
        auto* l = new QLabel(parent);
        l->setObjectName(name);
        l->setFont(bold);
        l->setStyleSheet(QStringLiteral("color: #800000;"));
        l->setGeometry(12, 375, 430, 16);
        return l;
    };

    dtpTransDate1 = picker(QStringLiteral("dtpTransDate1"), 12);
    lblTransTo = new QLabel(QStringLiteral("-"), this);
    lblTransTo->setObjectName(QStringLiteral("lblTransTo"));
    lblTransTo->move(175, 14);
    dtpTransDate2 = picker(QStringLiteral("dtpTransDate2"), 187);
    btnTransSearch = button(this, QStringLiteral("btnTransSearch"), QStringLiteral("查看(&S)"), 348, 9);

    auto radio = [&](const QString& name, const QString& text, int x) {
        auto* r = new QRadioButton(text, this);
        r->setObjectName(name);
        r->setFont(bold);
        r->setStyleSheet(QStringLiteral("color: #800000;"));
        r->setGeometry(x, 12, 104, 17);
        return r;
    };
    rdoTransTransactions = radio(QStringLiteral("rdoTransTransactions"), QStringLiteral("收支记录明细"), 472);
    rdoTransCategories = radio(QStringLiteral("rdoTransCategories"), QStringLiteral("收支项目排行"), 588);

    // Record details: totals area with its tab strip above the record list, a splitter between.
    pnlTransTransactions = new QFrame(this);
    pnlTransTransactions->setObjectName(QStringLiteral("pnlTransTransactions"));
    pnlTransTransactions->setGeometry(0, 40, 696, 405);
    splTrans = new QSplitter(Qt::Vertical, pnlTransTransactions);
    splTrans->setObjectName(QStringLiteral("splTrans"));
    splTrans->setGeometry(12, 0, 672, 362);
    splTrans->setHandleWidth(2);
    splTrans->setChildrenCollapsible(false);
    auto* top = new QWidget(splTrans);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->setSpacing(0);
    pnlTotals = new QWidget(top);
    pnlTotals->setObjectName(QStringLiteral("pnlTotals"));
    auto* totalsLayout = new QVBoxLayout(pnlTotals);
    totalsLayout->setContentsMargins(0, 0, 0, 0);
    lvwDayTotal = new ReportView(QStringLiteral("lvwDayTotal"), totalsModel(QStringLiteral("日期")), pnlTotals);
    lvwMonthTotal = new ReportView(QStringLiteral("lvwMonthTotal"), totalsModel(QStringLiteral("年-月")), pnlTotals);
    totalsLayout->addWidget(lvwDayTotal);
    totalsLayout->addWidget(lvwMonthTotal);
    TabSet1 = new QTabBar(top);
    TabSet1->setObjectName(QStringLiteral("TabSet1"));
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->setFixedHeight(19);
    TabSet1->setDrawBase(false);
    TabSet1->setFocusPolicy(Qt::NoFocus);
    TabSet1->addTab(QStringLiteral("按天统计"));
    TabSet1->addTab(QStringLiteral("按月统计"));
    TabSet1->setCurrentIndex(0);
    topLayout->addWidget(pnlTotals, 1);
    topLayout->addWidget(TabSet1);
    lvwTrans = new ReportView(QStringLiteral("lvwTrans"),
                              new ReportModel({{QString(), 0},
                                               {QString(), 0, Qt::AlignLeft, true},
                                               {QStringLiteral("日期"), 80},
                                               {QStringLiteral("项目"), 180},
                                               {QStringLiteral("收入"), 80, Qt::AlignRight},
                                               {QStringLiteral("支出"), 80, Qt::AlignRight},
                                               {QStringLiteral("备注"), 220}}),
                              splTrans);
    splTrans->addWidget(top);
    splTrans->addWidget(lvwTrans);
    splTrans->setSizes({160, 200});
    splTrans->setStretchFactor(0, 1);
    splTrans->setStretchFactor(1, 0);
    lblTransTotal = totalLabel(pnlTransTransactions, QStringLiteral("lblTransTotal"));
    btnTransDelete = button(pnlTransTransactions, QStringLiteral("btnTransDelete"), QStringLiteral("删除(&D)"), 450, 370);
    btnTransEdit = button(pnlTransTransactions, QStringLiteral("btnTransEdit"), QStringLiteral("编辑(&E)"), 530, 370);
    btnTransMore = button(pnlTransTransactions, QStringLiteral("btnTransMore"), QStringLiteral("更多(&M)..."), 610, 370);
    mnuTransMenu = new QMenu(this);
    mnuTransMenu->setObjectName(QStringLiteral("mnuTransMenu"));
    btnTransMore_ToXls = mnuTransMenu->addAction(QStringLiteral("导出为Excel文件(*.xlsx)"));
    btnTransMore_ToXls->setObjectName(QStringLiteral("btnTransMore_ToXls"));
    btnTransMore_ToHtml = mnuTransMenu->addAction(QStringLiteral("导出为网页文件(*.html)"));
    btnTransMore_ToHtml->setObjectName(QStringLiteral("btnTransMore_ToHtml"));
    mnuTransMenu->addSeparator();
    btnTransMore_Print = mnuTransMenu->addAction(QStringLiteral("打印"));
    btnTransMore_Print->setObjectName(QStringLiteral("btnTransMore_Print"));

    // Category ranking: income above, expense below, an 8-pixel splitter between.
    pnlTransCategories = new QFrame(this);
    pnlTransCategories->setObjectName(QStringLiteral("pnlTransCategories"));
    pnlTransCategories->setGeometry(0, 40, 696, 405);
    splCates = new QSplitter(Qt::Vertical, pnlTransCategories);
    splCates->setObjectName(QStringLiteral("splCates"));
    splCates->setGeometry(12, 0, 672, 362);
    splCates->setHandleWidth(8);
    splCates->setChildrenCollapsible(false);
    lvwInCates = new ReportView(QStringLiteral("lvwInCates"), rankingModel(QStringLiteral("收入")), splCates);
    lvwOutCates = new ReportView(QStringLiteral("lvwOutCates"), rankingModel(QStringLiteral("支出")), splCates);
    splCates->addWidget(lvwInCates);
    splCates->addWidget(lvwOutCates);
    splCates->setSizes({154, 200});
    splCates->setStretchFactor(0, 1);
    splCates->setStretchFactor(1, 0);
    lblCatesTotal = totalLabel(pnlTransCategories, QStringLiteral("lblCatesTotal"));
    btnMoreInfo = button(pnlTransCategories, QStringLiteral("btnMoreInfo"), QStringLiteral("详情(&M)"), 450, 370);
    btnCatesExport = button(pnlTransCategories, QStringLiteral("btnCatesExport"), QStringLiteral("导出(&E)..."), 530, 370);
    btnCatesPrint = button(pnlTransCategories, QStringLiteral("btnCatesPrint"), QStringLiteral("打印(&P)"), 610, 370);
    mnuCatesExport = new QMenu(this);
    mnuCatesExport->setObjectName(QStringLiteral("mnuCatesExport"));
    mnuCatesExport_ToXls = mnuCatesExport->addAction(QStringLiteral("导出为Excel文件(*.xlsx)"));
    mnuCatesExport_ToXls->setObjectName(QStringLiteral("mnuCatesExport_ToXls"));
    mnuCatesExport_ToHtml = mnuCatesExport->addAction(QStringLiteral("导出为网页文件(*.html)"));
    mnuCatesExport_ToHtml->setObjectName(QStringLiteral("mnuCatesExport_ToHtml"));

    for (ReportView* v : {lvwDayTotal, lvwMonthTotal, lvwTrans, lvwInCates, lvwOutCates})
        v->setSelectionShownWithoutFocus(false);

    connect(dtpTransDate1, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(dtpTransDate2, &QDateEdit::dateChanged, this, [this] { dtpTransDate1Change(); });
    connect(rdoTransTransactions, &QRadioButton::clicked, this, [this] { rdoTransTransactionsClick(); });
    connect(rdoTransCategories, &QRadioButton::clicked, this, [this] { rdoTransTransactionsClick(); });
    connect(TabSet1, &QTabBar::tabBarClicked, this, [this](int index) {
        TabSet1->setCurrentIndex(index);
        TabSet1Click();
    });
}

void TTransPage::InitDates(const QDate& today)
{
    dtpTransDate1->setDate(today.addDays(1 - today.day()));
    dtpTransDate2->setDate(today);
}

void TTransPage::ShowPeriodTotals(double income, double expense)
{
    const QString text = QStringLiteral("收入合计：%1    支出合计：%2    结余合计：%3")
                             .arg(THi::FormatAmount(income), THi::FormatAmount(expense),
                                  THi::FormatAmount(income - expense));
    lblTransTotal->setText(text);
    lblCatesTotal->setText(text);
}

void TTransPage::dtpTransDate1Change()
{
    // Dates carry no time of day here; only their order decides whether a search can run.
    btnTransSearch->setEnabled(dtpTransDate1->date() <= dtpTransDate2->date());
}

void TTransPage::TabSet1Click()
{
    lvwDayTotal->setVisible(TabSet1->currentIndex() == 0);
    lvwMonthTotal->setVisible(TabSet1->currentIndex() == 1);
}

void TTransPage::rdoTransTransactionsClick()
{
    pnlTransTransactions->setVisible(rdoTransTransactions->isChecked());
    pnlTransCategories->setVisible(rdoTransCategories->isChecked());
}
