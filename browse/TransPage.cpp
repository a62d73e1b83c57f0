#include "browse/TransPage.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/Prompts.h"
#include "app/ReportView.h"
#include "booking/EditRecForm.h"
#include "browse/MoreInfoForm.h"
#include "store/DbClass.h"

#include <QAction>
#include <QCursor>
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
    connectHandlers();
}

void TTransPage::buildLayout()
{
    QFont bold = font();
    bold.setBold(true);
    auto button = [](QWidget* parent, const QString& name, const QString& text, int x, int y) {
        return AddButton(parent, name, text, QRect(x, y, 74, 23), false);
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
        MakeTotalLabel(l);
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
    m_catesPalette = lvwInCates->palette();

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

namespace {

const QColor kDayTint(224, 255, 224);
const QColor kActiveRow(0, 0, 128);

} // namespace

void TTransPage::connectHandlers()
{
    lvwTrans->reportModel()->setRowBackground([this](int row) {
        const QStringList& r = lvwTrans->reportModel()->row(row);
        return r.size() > 1 && MatchesKey(r.at(1), m_main.FSelectedKey) ? kDayTint : QColor();
    });

    connect(btnTransSearch, &QPushButton::clicked, this,
            GuardedSlot([this] { btnTransSearchClick(btnTransSearch); }));
    connect(lvwDayTotal, &ReportView::rowSelectionChanged, this,
            GuardedSlot([this] { lvwDayTotalSelectItem(lvwDayTotal); }));
    connect(lvwMonthTotal, &ReportView::rowSelectionChanged, this,
            GuardedSlot([this] { lvwDayTotalSelectItem(lvwMonthTotal); }));
    connect(lvwTrans, &ReportView::rowSelectionChanged, this, GuardedSlot([this] { lvwTransSelectItem(); }));
    connect(lvwTrans, &ReportView::keyReleased, this,
            [this](int key) { Guarded([this, key] { lvwTransKeyUp(key); }); });
    connect(btnTransMore, &QPushButton::clicked, this, GuardedSlot([this] { btnTransMoreClick(); }));
    connect(btnTransEdit, &QPushButton::clicked, this, GuardedSlot([this] { btnTransEditClick(btnTransEdit); }));
    connect(btnTransDelete, &QPushButton::clicked, this,
            GuardedSlot([this] { btnTransDeleteClick(btnTransDelete); }));

    for (ReportView* list : {lvwInCates, lvwOutCates}) {
        connect(list, &ReportView::focusEntered, this, GuardedSlot([this, list] { SetActiveCateList(list); }));
        connect(list, &ReportView::rowSelectionChanged, this,
                GuardedSlot([this, list] { SetActiveCateList(list); }));
        connect(list, &QAbstractItemView::doubleClicked, this,
                GuardedSlot([this, list] { lvwCatesDblClick(list); }));
    }
    connect(btnMoreInfo, &QPushButton::clicked, this, GuardedSlot([this] { btnMoreInfoClick(btnMoreInfo); }));
}

bool TTransPage::MatchesKey(const QString& date, const QString& key)
{
    if (key.isEmpty() || !date.startsWith(key))
        return false;
    return date.size() == key.size() || date.at(key.size()) == QLatin1Char('-');
}

void TTransPage::btnTransSearchClick(QWidget* sender)
{
    if (!sender->isEnabled())
        return;
    BusyGuard busy(sender);
    m_main.FSelectedKey.clear();
    for (ReportView* v : {lvwDayTotal, lvwMonthTotal, lvwTrans, lvwOutCates, lvwInCates})
        v->reportModel()->clear();
    m_main.FPeriodFrom = dtpTransDate1->date();
    m_main.FPeriodTo = dtpTransDate2->date();
    TPeriodResult result;
    try {
        result = m_main.FDb->QueryPeriod(m_main.FUserName, THi::DateYmd(m_main.FPeriodFrom),
                                         THi::DateYmd(m_main.FPeriodTo));
    } catch (...) {
        // The lists are empty now; the totals and labels must not claim otherwise.
        m_main.FIncomeTotal = 0;
        m_main.FExpenseTotal = 0;
        ShowPeriodTotals(0, 0);
        throw;
    }
    m_main.FExpenseTotal = result.expenseTotal;
    m_main.FIncomeTotal = result.incomeTotal;
    lvwDayTotal->reportModel()->setRows(std::move(result.days));
    lvwMonthTotal->reportModel()->setRows(std::move(result.months));
    lvwTrans->reportModel()->setRows(std::move(result.records));
    lvwOutCates->reportModel()->setRows(std::move(result.expenseRanking));
    lvwInCates->reportModel()->setRows(std::move(result.incomeRanking));
    ShowPeriodTotals(m_main.FIncomeTotal, m_main.FExpenseTotal);
    busy.release();
    sender->setFocus();
    m_main.UpdateButtons();
}

void TTransPage::lvwDayTotalSelectItem(ReportView* list)
{
    const int selected = list->selectedRow();
    m_main.FSelectedKey = selected >= 0 ? THi::Trim(list->reportModel()->row(selected).value(0)) : QString();
    lvwTrans->viewport()->update();
    if (m_main.FSelectedKey.isEmpty())
        return;
    const QVector<QStringList>& rows = lvwTrans->reportModel()->rows();
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].size() > 1 && MatchesKey(THi::Trim(rows[i].at(1)), m_main.FSelectedKey)) {
            lvwTransTag = -1;
            lvwTrans->clearSelectedRow();
            lvwTrans->scrollTo(lvwTrans->reportModel()->index(i, 2), QAbstractItemView::PositionAtTop);
            lvwTransTag = 0;
            return;
        }
    }
}

void TTransPage::lvwTransSelectItem()
{
    if (lvwTransTag != -1)
        m_main.UpdateButtons();
}

void TTransPage::lvwTransKeyUp(int key)
{
    if (key == Qt::Key_Delete && lvwTrans->hasSelection())
        btnTransDeleteClick(btnTransDelete);
}

void TTransPage::btnTransMoreClick()
{
    mnuTransMenu->popup(QCursor::pos());
}

void TTransPage::btnTransEditClick(QWidget* sender)
{
    const int selected = lvwTrans->selectedRow();
    if (selected < 0)
        return;
    if (!m_main.prompts().question(&m_main, QStringLiteral("确认"), QStringLiteral("您真的想要编辑它吗？")))
        return;
    const QStringList cells = lvwTrans->reportModel()->row(selected);
    const QString income = cells.value(3);
    TfrmEditRec dialog(&m_main);
    dialog.FDate = cells.value(1);
    dialog.FCate = cells.value(2);
    dialog.FAmount = income.isEmpty() ? cells.value(4) : income;
    dialog.FNotes = cells.value(5);
    // The record keeps its type; a bad date stops the command before the dialog opens.
    const QString type = income.isEmpty() ? kTypeExpense : kTypeIncome;
    THi::StrToDateYmd(dialog.FDate);
    if (m_main.prompts().exec(&dialog) != QDialog::Accepted)
        return;
    {
        BusyGuard busy(sender);
        try {
            m_main.FDb->ReplaceRecord(m_main.FUserName, THi::Trim(cells.value(0)), dialog.FDate, type,
                                      dialog.FCate, dialog.FAmount, dialog.FNotes);
        } catch (const ZError& e) {
            throw ZError(QStringLiteral("记录未能修改。\n%1").arg(e.message()));
        }
    }
    sender->setFocus();
    m_main.UpdateButtons();
    btnTransSearchClick(btnTransSearch);
}

void TTransPage::btnTransDeleteClick(QWidget* sender)
{
    const int selected = lvwTrans->selectedRow();
    if (selected < 0)
        return;
    if (!m_main.prompts().question(&m_main, QStringLiteral("确认"), QStringLiteral("您真的想要删除它吗？")))
        return;
    const QString id = THi::Trim(lvwTrans->reportModel()->row(selected).value(0));
    {
        BusyGuard busy(sender);
        try {
            m_main.FDb->DeleteRecord(m_main.FUserName, id);
        } catch (const ZError& e) {
            throw ZError(QStringLiteral("记录未能删除。\n%1").arg(e.message()));
        }
    }
    sender->setFocus();
    m_main.UpdateButtons();
    btnTransSearchClick(btnTransSearch);
}

void TTransPage::SetActiveCateList(ReportView* list)
{
    m_main.FActiveCateList = list->hasSelection() ? list : nullptr;
    markActiveCateList();
    m_main.UpdateButtons();
}

void TTransPage::markActiveCateList()
{
    // The active list keeps its selected row navy with white text, also without the focus; the
    // other list shows its selection only while it has the focus.
    for (ReportView* list : {lvwInCates, lvwOutCates}) {
        QPalette p = m_catesPalette;
        if (list == m_main.FActiveCateList) {
            for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive}) {
                p.setColor(g, QPalette::Highlight, kActiveRow);
                p.setColor(g, QPalette::HighlightedText, Qt::white);
            }
        }
        list->setPalette(p);
        list->viewport()->update();
    }
}

void TTransPage::lvwCatesDblClick(ReportView* list)
{
    if (list->hasSelection())
        btnMoreInfoClick(btnMoreInfo);
}

void TTransPage::btnMoreInfoClick(QWidget* sender)
{
    ReportView* list = m_main.FActiveCateList;
    if (!list || !list->hasSelection())
        return;
    {
        // Whatever happens below, the button and the pointer come back.
        BusyGuard busy(sender);
        const QStringList cells = list->reportModel()->row(list->selectedRow());
        const QString type = cells.value(0);
        TfrmMoreInfo dialog(&m_main);
        dialog.setWindowTitle(QStringLiteral("数量：%1  合计：%2").arg(cells.value(2), cells.value(3)));
        dialog.lvwRecs->reportModel()->setColumnCaption(3, type == kTypeIncome ? kTypeIncome : kTypeExpense);
        // The range the pickers show now, which may differ from the one the ranking was searched with.
        dialog.lvwRecs->reportModel()->setRows(
            m_main.FDb->QueryCategoryRecords(m_main.FUserName, THi::DateYmd(dtpTransDate1->date()),
                                             THi::DateYmd(dtpTransDate2->date()), type, cells.value(1)));
        m_main.prompts().exec(&dialog);
    }
    sender->setFocus();
    m_main.UpdateButtons();
}
