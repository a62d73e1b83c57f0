#pragma once
// The transactions page: a period search with day and month totals, the record list and the
// category rankings.
#include <QWidget>

class QAction;
class QDateEdit;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabBar;
class QStackedLayout;
class ReportView;
class TfrmMain;

class TTransPage : public QWidget {
    Q_OBJECT
public:
    TTransPage(TfrmMain& main, QWidget* parent);

    QDateEdit* dtpTransDate1 = nullptr;
    QLabel* lblTransTo = nullptr;
    QDateEdit* dtpTransDate2 = nullptr;
    QPushButton* btnTransSearch = nullptr;
    QRadioButton* rdoTransTransactions = nullptr;
    QRadioButton* rdoTransCategories = nullptr;

    // Record details sub-page.
    QFrame* pnlTransTransactions = nullptr;
    QSplitter* splTrans = nullptr;
    QWidget* pnlTotals = nullptr;
    ReportView* lvwDayTotal = nullptr;
    ReportView* lvwMonthTotal = nullptr;
    QTabBar* TabSet1 = nullptr;
    ReportView* lvwTrans = nullptr;
    QLabel* lblTransTotal = nullptr;
    QPushButton* btnTransDelete = nullptr;
    QPushButton* btnTransEdit = nullptr;
    QPushButton* btnTransMore = nullptr;
    QMenu* mnuTransMenu = nullptr;
    QAction* btnTransMore_ToXls = nullptr;
    QAction* btnTransMore_ToHtml = nullptr;
    QAction* btnTransMore_Print = nullptr;

    // Category ranking sub-page.
    QFrame* pnlTransCategories = nullptr;
    QSplitter* splCates = nullptr;
    ReportView* lvwInCates = nullptr;
    ReportView* lvwOutCates = nullptr;
    QLabel* lblCatesTotal = nullptr;
    QPushButton* btnMoreInfo = nullptr;
    QPushButton* btnCatesExport = nullptr;
    QPushButton* btnCatesPrint = nullptr;
    QMenu* mnuCatesExport = nullptr;
    QAction* mnuCatesExport_ToXls = nullptr;
    QAction* mnuCatesExport_ToHtml = nullptr;

    // Called by the main window while it is created, in its order.
    void InitDates(const QDate& today);
    void ShowPeriodTotals(double income, double expense);
    void dtpTransDate1Change();
    void TabSet1Click();
    void rdoTransTransactionsClick();

private:
    void buildLayout();

    TfrmMain& m_main;
};
