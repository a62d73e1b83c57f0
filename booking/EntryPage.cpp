#include "booking/EntryPage.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/Prompts.h"
#include "app/ReportView.h"
#include "booking/AmountRule.h"
#include "booking/Calculator.h"
#include "booking/CategoryList.h"
#include "booking/EditCateForm.h"
#include "store/DbClass.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QItemSelectionModel>
#include <QPushButton>

namespace {

const char* const kOutSteps[6] = {
    "第1步，选择日期，例如：2099-12-31。", "第2步，填写项目，例如：医疗药品费。",
    "第3步，填写金额，例如：1000009.95。", "第4步，填写备注，例如：家庭常用药。",
    "第5步，确认无误，请点添加按钮即可。", "第6步，添加完所有支出请点保存按钮。"};
const char* const kInSteps[6] = {
    "第1步，选择日期，例如：2099-01-31。", "第2步，填写项目，例如：亲属赠与金。",
    "第3步，填写金额，例如：8000008.88。", "第4步，填写备注，例如：宝宝压岁钱。",
    "第5步，确认无误，请点添加按钮即可。", "第6步，添加完所有收入请点保存按钮。"};

} // namespace

TEntryPage::TEntryPage(TfrmMain& main, EntryKind kind, QWidget* parent)
    : QWidget(parent), m_main(main), m_kind(kind)
{
    setObjectName(kind == EntryKind::Expense ? QStringLiteral("pnlExpense") : QStringLiteral("pnlIncome"));
    buildLayout();
    connectHandlers();
}

QString TEntryPage::infix() const
{
    return m_kind == EntryKind::Expense ? QStringLiteral("Out") : QStringLiteral("In");
}

QString TEntryPage::typeText() const
{
    return m_kind == EntryKind::Expense ? kTypeExpense : kTypeIncome;
}

QString TEntryPage::listName() const
{
    return m_kind == EntryKind::Expense ? QStringLiteral("out") : QStringLiteral("in");
}

void TEntryPage::buildLayout()
{
    const QString in = infix();
    auto name = [&](const char* prefix, const char* rest) { return QLatin1String(prefix) + in + QLatin1String(rest); };

    // Step hints: 宋体, 12 pixels, black. The income page's hints are named lblStep1..6.
    QFont song(QStringLiteral("宋体"));
    song.setPixelSize(12);
    const char* const* steps = m_kind == EntryKind::Expense ? kOutSteps : kInSteps;
    for (int n = 0; n < 6; ++n) {
        auto* hint = new QLabel(QString::fromUtf8(steps[n]), this);
        hint->setObjectName(m_kind == EntryKind::Expense ? QStringLiteral("lblOutStep%1").arg(n + 1)
                                                         : QStringLiteral("lblStep%1").arg(n + 1));
        hint->setFont(song);
        hint->setGeometry(18, 10 + 20 * n, 220, 14);
        lblStep[n] = hint;
    }

    auto label = [&](const char* rest, const QString& text, int x, int y) {
        return AddLabel(this, name("lbl", rest), text, x, y);
    };
    lblDate = label("Date", QStringLiteral("日期："), 250, 14);
    lblCate = label("Cate", QStringLiteral("项目："), 250, 44);
    lblAmount = label("Amount", QStringLiteral("金额："), 250, 74);
    lblNotes = label("Notes", QStringLiteral("备注："), 250, 105);

    dtpDate = new QDateEdit(this);
    dtpDate->setObjectName(name("dtp", "Date"));
    dtpDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setGeometry(293, 10, 311, 21);
    cboCate = new QComboBox(this);
    cboCate->setObjectName(name("cbo", "Cate"));
    cboCate->setEditable(true);
    cboCate->setCompleter(nullptr);
    cboCate->setInsertPolicy(QComboBox::NoInsert);
    cboCate->setMaxVisibleItems(32);
    cboCate->setGeometry(293, 40, 311, 21);
    edtAmount = new QLineEdit(this);
    edtAmount->setObjectName(name("edt", "Amount"));
    edtAmount->setGeometry(293, 70, 311, 21);
    edtNotes = new QLineEdit(this);
    edtNotes->setObjectName(name("edt", "Notes"));
    edtNotes->setGeometry(293, 101, 311, 21);

    auto button = [&](const char* rest, const QString& text, int x, int y, bool tabStop) {
        return AddButton(this, name("btn", rest), text, QRect(x, y, 74, 23), tabStop);
    };
    btnHelp = button("Help", QStringLiteral("帮助"), 610, 9, false);
    btnEditCates = button("EditCates", QStringLiteral("编辑"), 610, 39, false);
    btnCalc = button("Calc", QStringLiteral("计算器"), 610, 69, false);
    btnAdd = button("Add", QStringLiteral("添加(&A)"), 610, 100, true);

    auto* model = new ReportModel({{QString(), 0},
                                   {QStringLiteral("日期"), 80},
                                   {QStringLiteral("类别"), 80},
                                   {QStringLiteral("项目"), 180},
                                   {QStringLiteral("金额"), 80, Qt::AlignRight},
                                   {QStringLiteral("备注"), 220}});
    lvwRecs = new ReportView(name("lvw", "Recs"), model, this);
    lvwRecs->setGeometry(12, 135, 672, 267);

    lblTotal = new QLabel(this);
    lblTotal->setObjectName(name("lbl", "Total"));
    MakeTotalLabel(lblTotal);
    lblTotal->setGeometry(12, 415, 400, 16);

    btnDelete = button("Delete", QStringLiteral("删除(&D)"), 450, 410, false);
    btnEdit = button("Edit", QStringLiteral("编辑(&E)"), 530, 410, false);
    btnSave = button("Save", QStringLiteral("保存(&S)"), 610, 410, false);

    setTabOrder(dtpDate, cboCate);
    setTabOrder(cboCate, edtAmount);
    setTabOrder(edtAmount, edtNotes);
    setTabOrder(edtNotes, btnAdd);
}

void TEntryPage::SetDate(const QDate& date)
{
    dtpDate->setDate(date);
}

void TEntryPage::UpdateTotalLabel()
{
    double sum = 0;
    for (const QStringList& row : lvwRecs->reportModel()->rows())
        sum += row.value(3).toDouble();
    lblTotal->setText(QStringLiteral("合计：") + THi::FormatAmount(sum));
}

void TEntryPage::connectHandlers()
{
    // The Add rule follows every change of the category or amount text, whoever makes it.
    connect(cboCate, &QComboBox::editTextChanged, this, [this] { CateChange(); });
    connect(edtAmount, &QLineEdit::textChanged, this, [this] { CateChange(); });

    auto onClick = [this](QPushButton* button, void (TEntryPage::*handler)()) {
        connect(button, &QPushButton::clicked, this, GuardedSlot([this, handler] { (this->*handler)(); }));
    };
    onClick(btnAdd, &TEntryPage::btnAddClick);
    onClick(btnDelete, &TEntryPage::btnDeleteClick);
    onClick(btnEdit, &TEntryPage::btnEditClick);
    onClick(btnSave, &TEntryPage::btnSaveClick);
    onClick(btnHelp, &TEntryPage::btnHelpClick);
    onClick(btnCalc, &TEntryPage::btnCalcClick);
    onClick(btnEditCates, &TEntryPage::btnEditCatesClick);
    connect(lvwRecs, &ReportView::rowSelectionChanged, this, GuardedSlot([this] { lvwRecsSelectItem(); }));
    connect(lvwRecs, &ReportView::keyReleased, this,
            [this](int key) { Guarded([this, key] { lvwRecsKeyUp(key); }); });

    // The Enter chain: the key may arrive at an input or at the line edit inside it.
    dtpDate->installEventFilter(this);
    if (auto* dateLine = dtpDate->findChild<QLineEdit*>())
        dateLine->installEventFilter(this);
    cboCate->installEventFilter(this);
    if (cboCate->lineEdit())
        cboCate->lineEdit()->installEventFilter(this);
    edtAmount->installEventFilter(this);
    edtNotes->installEventFilter(this);
    btnAdd->installEventFilter(this);
}

bool TEntryPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == dtpDate || watched->parent() == dtpDate) {
                dtpDate->interpretText();
                cboCate->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == cboCate || watched == cboCate->lineEdit()) {
                edtAmount->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == edtAmount) {
                edtNotes->setFocus(Qt::TabFocusReason);
                return true;
            }
            // Enter in the note, or on the Add button reached with Tab, adds the record.
            if (watched == edtNotes || watched == btnAdd) {
                Guarded([this] { btnAddClick(); });
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool TEntryPage::ask(const QString& text)
{
    return m_main.prompts().question(&m_main, QStringLiteral("确认"), text);
}

void TEntryPage::LoadCategories()
{
    const QString text = m_main.FDb->GetCategories(m_main.FUserName, listName());
    const QString typed = cboCate->currentText();
    cboCate->clear();
    cboCate->addItems(SplitCategoryText(text));
    cboCate->setEditText(typed);
}

void TEntryPage::CateChange()
{
    btnAdd->setEnabled(AddRuleHolds(cboCate->currentText(), edtAmount->text()));
}

void TEntryPage::AddCategoryIfNew(const QString& category)
{
    QStringList entries;
    for (int i = 0; i < cboCate->count(); ++i)
        entries << cboCate->itemText(i);
    if (FindCategory(entries, category) >= 0)
        return;
    entries.prepend(category);
    // Stored before the drop-down changes: when storing fails, both stay as they were.
    m_main.FDb->SaveCategories(m_main.FUserName, listName(), JoinCategoryText(entries));
    const QString typed = cboCate->currentText();
    cboCate->insertItem(0, category);
    if (cboCate->currentText() != typed)
        cboCate->setEditText(typed);
}

void TEntryPage::btnAddClick()
{
    if (!btnAdd->isEnabled()) {
        cboCate->setFocus();
        return;
    }
    {
        BusyGuard busy(btnAdd);
        const QString category = THi::Trim(cboCate->currentText());
        const QStringList record{THi::DateYmd(dtpDate->date()), typeText(), category,
                                 FormatAmountText(edtAmount->text()), THi::Trim(edtNotes->text())};
        // The category goes first: if storing the list fails, nothing is listed and the inputs stay,
        // so adding again lists the record exactly once.
        AddCategoryIfNew(category);
        ReportModel* model = lvwRecs->reportModel();
        model->appendRow(record);
        lvwRecs->scrollTo(model->index(model->rowCount() - 1, 1));
        UpdateTotalLabel();
    }
    // The date stays, for the next record of the same day.
    cboCate->setEditText(QString());
    edtAmount->clear();
    edtNotes->clear();
    cboCate->setFocus();
    m_main.UpdateButtons();
}

void TEntryPage::btnDeleteClick()
{
    const int row = lvwRecs->selectedRow();
    if (row < 0 || !ask(QStringLiteral("您真的想要删除它吗？")))
        return;
    removePendingRow(row);
    UpdateTotalLabel();
    m_main.UpdateButtons();
}

void TEntryPage::btnEditClick()
{
    const int row = lvwRecs->selectedRow();
    if (row < 0 || !ask(QStringLiteral("您真的想要编辑它吗？")))
        return;
    const QStringList record = lvwRecs->reportModel()->row(row);
    const QDate date = THi::StrToDateYmd(record.value(0));
    dtpDate->setDate(date);
    cboCate->setEditText(record.value(2));
    edtAmount->setText(record.value(3));
    edtNotes->setText(record.value(4));
    removePendingRow(row);
    UpdateTotalLabel();
    m_main.UpdateButtons();
}

void TEntryPage::btnSaveClick()
{
    ReportModel* model = lvwRecs->reportModel();
    if (model->rowCount() == 0 || !ask(QStringLiteral("您真的想要保存吗？")))
        return;
    {
        BusyGuard busy(btnSave);
        // One transaction: the whole list is stored or nothing, and on a failure the list stays.
        m_main.FDb->InsertRecords(m_main.FUserName, model->rows());
    }
    model->clear();
    UpdateTotalLabel();
    m_main.UpdateButtons();
    ShowSavedMessage();
}

void TEntryPage::ShowSavedMessage()
{
    m_main.prompts().message(&m_main, Prompts::Icon::Information, QStringLiteral("Zendrel"),
                             QStringLiteral("成功！%1%2").arg(QStringLiteral("\r\n\r\n"),
                                                           QStringLiteral("想查看收支记录明细，请点击“收支目录”。")));
}

void TEntryPage::btnHelpClick()
{
    const QString text = THi::ReadResourceText(m_kind == EntryKind::Expense ? QStringLiteral("RES_HELP1")
                                                                            : QStringLiteral("RES_HELP2"));
    m_main.prompts().message(&m_main, Prompts::Icon::Information, QStringLiteral("帮助"), text);
}

void TEntryPage::btnCalcClick()
{
    // Like the system calculator command: whether it starts is not reported.
    const QString program = FindCalculator();
    if (!program.isEmpty())
        THi::RunProgram(program, QString(), QString(), 5);
}

void TEntryPage::btnEditCatesClick()
{
    bool saved = false;
    {
        BusyGuard busy(btnEditCates);
        TfrmEditCate dialog(&m_main);
        // The editor starts from the stored list, not from the drop-down.
        dialog.FText = m_main.FDb->GetCategories(m_main.FUserName, listName());
        if (m_main.prompts().exec(&dialog) == QDialog::Accepted) {
            dialog.hide();
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_main.FDb->SaveCategories(m_main.FUserName, listName(), dialog.FText);
            LoadCategories();
            saved = true;
        }
        if (saved)
            m_main.prompts().message(&m_main, Prompts::Icon::Information, QStringLiteral("Zendrel"),
                                     QStringLiteral("成功！"));
    }
    btnEditCates->setFocus();
}

void TEntryPage::removePendingRow(int row)
{
    // No row is selected afterwards: the view would otherwise select the neighbour, and a second
    // Delete would ask about a row the user never picked.
    lvwRecs->selectionModel()->clear();
    lvwRecs->reportModel()->removeRowAt(row);
}

void TEntryPage::lvwRecsSelectItem()
{
    m_main.UpdateButtons();
}

void TEntryPage::lvwRecsKeyUp(int key)
{
    if (key == Qt::Key_Delete && lvwRecs->hasSelection())
        btnDeleteClick();
}
