#include "booking/EntryPage.h"

#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/ReportView.h"
#include "store/DbClass.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>

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
    }

    auto label = [&](const char* rest, const QString& text, int x, int y) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name("lbl", rest));
        l->move(x, y);
        l->adjustSize();
        return l;
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
        auto* b = new QPushButton(text, this);
        b->setObjectName(name("btn", rest));
        b->setGeometry(x, y, 74, 23);
        b->setAutoDefault(false);
        if (!tabStop)
            b->setFocusPolicy(Qt::ClickFocus);
        return b;
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
    QFont bold = font();
    bold.setBold(true);
    lblTotal->setFont(bold);
    lblTotal->setStyleSheet(QStringLiteral("color: #800000;"));
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

void TEntryPage::LoadCategories()
{
    const QString text = m_main.FDb->GetCategories(m_main.FUserName, listName());
    const QString typed = cboCate->currentText();
    cboCate->clear();
    if (!text.isEmpty())
        cboCate->addItems(text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))));
    cboCate->setEditText(typed);
}

void TEntryPage::CateChange()
{
    // The Add rule arrives with the booking behaviour.
}
