#pragma once
// An entry page: the expense page and the income page are this one implementation over two sets
// of controls, each set keeping its own names (btnOutAdd / btnInAdd, ...).
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class ReportView;
class TfrmMain;

enum class EntryKind { Expense, Income };

class TEntryPage : public QWidget {
    Q_OBJECT
public:
    TEntryPage(TfrmMain& main, EntryKind kind, QWidget* parent);

    EntryKind kind() const { return m_kind; }
    // "Out" or "In": the part of the control names that tells the twins apart.
    QString infix() const;
    // "支出" or "收入".
    QString typeText() const;
    // "out" or "in": the category list of this page.
    QString listName() const;

    QLabel* lblStep[6] = {};
    QLabel* lblDate = nullptr;
    QLabel* lblCate = nullptr;
    QLabel* lblAmount = nullptr;
    QLabel* lblNotes = nullptr;
    QDateEdit* dtpDate = nullptr;
    QComboBox* cboCate = nullptr;
    QLineEdit* edtAmount = nullptr;
    QLineEdit* edtNotes = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnEditCates = nullptr;
    QPushButton* btnCalc = nullptr;
    QPushButton* btnAdd = nullptr;
    ReportView* lvwRecs = nullptr;
    QLabel* lblTotal = nullptr;
    QPushButton* btnDelete = nullptr;
    QPushButton* btnEdit = nullptr;
    QPushButton* btnSave = nullptr;

    // Called by the main window while it is created, in its order.
    void SetDate(const QDate& date);
    void UpdateTotalLabel();
    void LoadCategories();
    // The Add rule (cboOutCateChange / cboInCateChange).
    void CateChange();

    // Handlers; the twins' handlers (btnOutAddClick, btnInAddClick, ...) are these.
    void btnAddClick();
    void btnDeleteClick();
    void btnEditClick();
    void btnSaveClick();
    void btnHelpClick();
    void btnCalcClick();
    void btnEditCatesClick();
    void lvwRecsSelectItem();
    void lvwRecsKeyUp(int key);

    // Puts `category` at the top of this page's list and stores the list, unless the same category
    // is listed already. The text typed in the category box stays.
    void AddCategoryIfNew(const QString& category);
    void ShowSavedMessage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void connectHandlers();
    bool ask(const QString& text);
    void removePendingRow(int row);

    TfrmMain& m_main;
    EntryKind m_kind;
};
