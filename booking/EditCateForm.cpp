#include "booking/EditCateForm.h"

#include "app/FormKit.h"
#include "app/HiClass.h"
#include "booking/CategoryList.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>

TfrmEditCate::TfrmEditCate(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmEditCate"));
    setWindowTitle(QStringLiteral("编辑"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    if (parent)
        setFont(parent->font());
    setFixedSize(330, 380);

    memText = new QPlainTextEdit(this);
    memText->setObjectName(QStringLiteral("memText"));
    memText->setGeometry(8, 8, 314, 333);
    memText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memText->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab leaves the memo, as in any other input of the program.
    memText->setTabChangesFocus(true);

    btnSave = AddButton(this, QStringLiteral("btnSave"), QStringLiteral("保存(&S)"), QRect(168, 349, 74, 23));
    btnCancel = AddButton(this, QStringLiteral("btnCancel"), QStringLiteral("取消(&C)"), QRect(248, 349, 74, 23));
    setTabOrder(memText, btnSave);
    setTabOrder(btnSave, btnCancel);

    connect(memText, &QPlainTextEdit::textChanged, this, [this] { memTextChange(); });
    connect(btnSave, &QPushButton::clicked, this, [this] { btnSaveClick(); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    THi::MakeButtonsFlat(this);
}

void TfrmEditCate::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmEditCate::FormShow()
{
    QString text = FText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    memText->setPlainText(text);
    btnSave->setEnabled(false);
    memText->setFocus();
}

void TfrmEditCate::memTextChange()
{
    btnSave->setEnabled(true);
}

void TfrmEditCate::btnSaveClick()
{
    FText = EditorCategoryText(memText->toPlainText());
    accept();
}

void TfrmEditCate::btnCancelClick()
{
    reject();
}
