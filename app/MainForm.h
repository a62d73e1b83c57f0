#pragma once
// The main window: the frame panels, the page bar with its three pages, the menu button and
// its popup menu, the command-button states and the account and ledger commands of the menu.
#include <QDate>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QMenu;
class QAction;
class QRadioButton;
class QFrame;
class Prompts;
class TDbMan;
class TSkinMan;
class TEntryPage;
class TTransPage;
class ReportView;

struct LoginResult {
    QString dbFile;   // the ledger file
    QString userName; // empty when the login was cancelled
};

// What the window is given from outside, so tests can stand in for the person and the system.
struct MainSeams {
    Prompts* prompts = nullptr;
    // Runs the login; empty: the login dialog over the provisioned ledger.
    std::function<LoginResult()> login;
    // Starts a new instance of the program with the given parameter text; empty: the program itself.
    std::function<void(const QString& parameters)> startInstance;
};

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(MainSeams seams, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // False when the login was cancelled or the ledger is missing: the window is not to be shown.
    bool loggedIn() const { return m_loggedIn; }
    Prompts& prompts() const { return *m_prompts; }

    // Recomputes the enabled state of every command button.
    void UpdateButtons();
    void ShowMenuImage(bool up);
    // Starts a new instance with `parameters` and closes this window.
    void Restart(const QString& parameters);

    // Fields shared by the pages.
    QDate FPeriodFrom;
    QDate FPeriodTo;
    double FIncomeTotal = 0;
    double FExpenseTotal = 0;
    QString FUserName;
    QString FDbFile;
    std::unique_ptr<TDbMan> FDb;
    TSkinMan* FSkin = nullptr;
    QString FSelectedKey;
    ReportView* FActiveCateList = nullptr;

    // The frame panels and pages.
    QFrame* pnlTop = nullptr;
    QLabel* imgTop = nullptr;
    QFrame* pnlLeft = nullptr;
    QLabel* imgLeft = nullptr;
    QFrame* pnlRight = nullptr;
    QLabel* imgRight = nullptr;
    QFrame* pnlBottom = nullptr;
    QLabel* imgBottom = nullptr;
    QFrame* pnlCenter = nullptr;
    QFrame* pnlControl = nullptr;
    QRadioButton* rdoExpense = nullptr;
    QRadioButton* rdoIncome = nullptr;
    QRadioButton* rdoTransactions = nullptr;
    QLabel* imgMenu = nullptr;
    TEntryPage* pnlExpense = nullptr;
    TEntryPage* pnlIncome = nullptr;
    TTransPage* pnlTransactions = nullptr;
    QMenu* mnuMenu = nullptr;
    QAction* mnuMenu_SwitchUser = nullptr;
    QAction* mnuMenu_SetPwd = nullptr;
    QAction* mnuMenu_DeleteUser = nullptr;
    QAction* mnuMenu_Backup = nullptr;
    QAction* mnuMenu_Restore = nullptr;
    QAction* mnuMenu_Exit = nullptr;

    // Handlers.
    void rdoExpenseClick();
    void mnuMenu_SwitchUserClick();
    void mnuMenu_SetPwdClick();
    void mnuMenu_DeleteUserClick();
    void mnuMenu_BackupClick();
    void mnuMenu_RestoreClick();
    void mnuMenu_ExitClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildFrame();
    void buildPageBar();
    void buildMenu();
    void FormCreate();
    void FormDestroy();

    MainSeams m_seams;
    Prompts* m_prompts;
    bool m_loggedIn = false;
    QPixmap m_menuUp;
    QPixmap m_menuDown;
};
