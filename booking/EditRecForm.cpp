#include "booking/EditRecForm.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/HiClass.h"
#include "booking/AmountRule.h"

#include <QDateEdit>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TfrmEditRec::TfrmEditRec(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags)
{
    setObjectName(QStringLiteral("frmEditRec"));
    setWindowTitle(QStringLiteral("编辑"));
    setFont(WindowFont());
    setFixedSize(330, 170);

    auto label = [this](const QString& name, const QString& text, int y) { AddLabel(this, name, text, 14, y); };
    auto edit = [this](const QString& name, int y) {
        auto* e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(60, y, 256, 21);
        e->setMaxLength(kMaxTyped);
        // Typing stops at the limit; a longer text put in by the program stays whole and can only shrink.
        connect(e, &QLineEdit::textChanged, e,
                [e](const QString& text) { e->setMaxLength(qMax<int>(kMaxTyped, int(text.size()))); });
        return e;
    };
    label(QStringLiteral("lblDate"), QStringLiteral("日期："), 14);
    label(QStringLiteral("lblCate"), QStringLiteral("项目："), 44);
    label(QStringLiteral("lblAmount"), QStringLiteral("金额："), 74);
    label(QStringLiteral("lblNotes"), QStringLiteral("备注："), 104);
    dtpDate = new QDateEdit(this);
    dtpDate->setObjectName(QStringLiteral("dtpDate"));
    dtpDate->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    dtpDate->setCalendarPopup(true);
    dtpDate->setGeometry(60, 10, 256, 21);
    edtCate = edit(QStringLiteral("edtCate"), 40);
    edtAmount = edit(QStringLiteral("edtAmount"), 70);
    edtNotes = edit(QStringLiteral("edtNotes"), 100);

    // Neither button is the default: Enter in an edit closes nothing.
    btnSave = AddButton(this, QStringLiteral("btnSave"), QStringLiteral("保存(&S)"), QRect(161, 136, 74, 23));
    btnCancel = AddButton(this, QStringLiteral("btnCancel"), QStringLiteral("取消(&C)"), QRect(242, 136, 74, 23));

    setTabOrder(dtpDate, edtCate);
    setTabOrder(edtCate, edtAmount);
    setTabOrder(edtAmount, edtNotes);
    setTabOrder(edtNotes, btnSave);
    setTabOrder(btnSave, btnCancel);

    // The date picker is deliberately not bound: a date change alone does not enable Save.
    for (QLineEdit* e : {edtCate, edtAmount, edtNotes})
        connect(e, &QLineEdit::textChanged, this, [this] { edtCateChange(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
}

void TfrmEditRec::FormShow()
{
    dtpDate->setDate(THi::StrToDateYmd(FDate));
    const auto put = [](QLineEdit* edit, const QString& text) {
        edit->setMaxLength(qMax<int>(kMaxTyped, int(text.size())));
        edit->setText(text);
    };
    put(edtCate, FCate);
    put(edtAmount, FAmount);
    put(edtNotes, FNotes);
    btnSave->setEnabled(false);
}

void TfrmEditRec::edtCateChange()
{
    btnSave->setEnabled(AddRuleHolds(edtCate->text(), edtAmount->text()));
}

void TfrmEditRec::btnSaveClick()
{
    if (!AddRuleHolds(edtCate->text(), edtAmount->text()))
        return;
    FDate = THi::DateYmd(dtpDate->date());
    FCate = THi::Trim(edtCate->text());
    FAmount = FormatAmountText(edtAmount->text());
    FNotes = THi::Trim(edtNotes->text());
    accept();
}

void TfrmEditRec::btnCancelClick()
{
    reject();
}

void TfrmEditRec::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
}

void TfrmEditRec::keyPressEvent(QKeyEvent* event)
{
    // Escape closes nothing either; the dialog is left with Cancel or the close box.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
