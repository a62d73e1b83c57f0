#pragma once
// The transactions page: a period search with day and month totals, the record list and the
// category rankings.
#include <QPalette>
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

    // -1 while the page itself changes the record list's selection (buttons are not recomputed then).
    int lvwTransTag = 0;

    // Called by the main window while it is created, in its order.
    void InitDates(const QDate& today);
    void ShowPeriodTotals(double income, double expense);
    void dtpTransDate1Change();
    void TabSet1Click();
    void rdoTransTransactionsClick();

    // The period search; does nothing while `sender` is disabled.
    void btnTransSearchClick(QWidget* sender);
    // A day or month row chosen: highlight key, tint, and the first matching record scrolled to the top.
    void lvwDayTotalSelectItem(ReportView* list);
    void lvwTransSelectItem();
    void lvwTransKeyUp(int key);
    void btnTransMoreClick();
    // Edit and delete of the selected stored record, each after a question; then a new search.
    void btnTransEditClick(QWidget* sender);
    void btnTransDeleteClick(QWidget* sender);

    // The ranking list the detail command works on: `list` when it has a selected row, else none.
    void SetActiveCateList(ReportView* list);
    void lvwCatesDblClick(ReportView* list);
    void btnMoreInfoClick(QWidget* sender);

    // Whether a record's date belongs to the highlight key: the day itself, or a day of the month "yyyy-mm".
    static bool MatchesKey(const QString& date, const QString& key);

private:
    void buildLayout();
    void connectHandlers();
    void markActiveCateList();

    TfrmMain& m_main;
    QPalette m_catesPalette;
};
