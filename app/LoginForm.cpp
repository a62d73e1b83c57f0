#include "app/LoginForm.h"

#include "app/ErrorReport.h"
#include "app/FormKit.h"
#include "app/HiClass.h"
#include "app/Prompts.h"
#include "store/DbClass.h"
#include "store/Provision.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

QString FindUserNameIn(const QString& userNames, const QString& name)
{
    const QString wanted = THi::LowerAscii(name);
    const QStringList lines = userNames.split(QStringLiteral("\r\n"));
    for (const QString& line : lines) {
        const QString trimmed = THi::Trim(line);
        if (!trimmed.isEmpty() && THi::LowerAscii(trimmed) == wanted)
            return trimmed;
    }
    return QString();
}

TfrmLogin::TfrmLogin(Prompts& prompts, const QStringList& arguments, QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      m_prompts(prompts)
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("Zendrel - 登陆"));
    setFont(WindowFont());
    setFixedSize(367, 205);

    AddBevel(this, QRect(8, 8, 350, 180));
    auto label = [this](const QString& name, const QString& text, int x, int y) { AddLabel(this, name, text, x, y); };
    const QString example = QString::number(QRandomGenerator::global()->bounded(1000, 10000));
    label(QStringLiteral("lblStep1"), QStringLiteral("1. 请自行输入一个新的用户名称，如：云舟。"), 18, 20);
    label(QStringLiteral("lblStep2"), QStringLiteral("2. 请自行输入一个新的用户密码，如：%1。").arg(example), 18, 39);
    label(QStringLiteral("lblStep3"), QStringLiteral("3. 然后，请您用鼠标左键单击登陆按钮即可。"), 18, 59);
    label(QStringLiteral("lblUsername"), QStringLiteral("用户名称："), 18, 125);
    label(QStringLiteral("lblPassword"), QStringLiteral("用户密码："), 18, 156);

    cboUsername = new QComboBox(this);
    cboUsername->setObjectName(QStringLiteral("cboUsername"));
    cboUsername->setEditable(true);
    cboUsername->setCompleter(nullptr);
    cboUsername->setInsertPolicy(QComboBox::NoInsert);
    cboUsername->setGeometry(82, 121, 265, 21);
    edtPassword = new QLineEdit(this);
    edtPassword->setObjectName(QStringLiteral("edtPassword"));
    edtPassword->setEchoMode(QLineEdit::Password);
    edtPassword->setGeometry(82, 152, 265, 21);
    btnSubmit = AddButton(this, QStringLiteral("btnSubmit"), QStringLiteral("登陆(&S)"), QRect(273, 20, 74, 23));
    btnCancel = AddButton(this, QStringLiteral("btnCancel"), QStringLiteral("取消(&C)"), QRect(273, 49, 74, 23));
    setTabOrder(cboUsername, edtPassword);
    setTabOrder(edtPassword, btnSubmit);
    setTabOrder(btnSubmit, btnCancel);

    connect(cboUsername, &QComboBox::editTextChanged, this, [this] { UpdateSubmitButton(); });
    connect(edtPassword, &QLineEdit::textChanged, this, [this] { UpdateSubmitButton(); });
    connect(btnSubmit, &QPushButton::clicked, this, GuardedSlot([this] { btnSubmitClick(); }));
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });
    cboUsername->installEventFilter(this);
    if (cboUsername->lineEdit())
        cboUsername->lineEdit()->installEventFilter(this);
    edtPassword->installEventFilter(this);

    // FormCreate
    RestoreOutcome restore;
    FDbFile = ProvisionLedger(arguments, &restore);
    if (restore.state != RestoreOutcome::State::None)
        m_prompts.message(this,
                          restore.state == RestoreOutcome::State::Restored ? Prompts::Icon::Information
                                                                           : Prompts::Icon::Warning,
                          QStringLiteral("恢复"), restore.text);
    FUserName.clear();
    FDb = std::make_unique<TDbMan>(FDbFile);
    const QString names = FDb->GetUserNames();
    if (!names.isEmpty())
        cboUsername->addItems(names.split(QStringLiteral("\r\n")));
    if (cboUsername->count() > 0)
        cboUsername->setCurrentIndex(0);
    UpdateSubmitButton();
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // FormActivate: with a name in the box the password is what is left to type.
    if (!THi::Trim(cboUsername->currentText()).isEmpty())
        edtPassword->setFocus();
    else
        cboUsername->setFocus();
    activateWindow();
    raise();
}

void TfrmLogin::UpdateSubmitButton()
{
    btnSubmit->setEnabled(!THi::Trim(cboUsername->currentText()).isEmpty() &&
                          !THi::Trim(edtPassword->text()).isEmpty());
}

QString TfrmLogin::FindUserName(const QString& name)
{
    return FindUserNameIn(FDb->GetUserNames(), name);
}

bool TfrmLogin::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == edtPassword) {
                Guarded([this] { btnSubmitClick(); });
                return true;
            }
            if (watched == cboUsername || watched == cboUsername->lineEdit()) {
                edtPassword->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmLogin::btnSubmitClick()
{
    if (!btnSubmit->isEnabled())
        return;
    bool accepted = false;
    {
        BusyGuard busy(btnSubmit);
        FUserName = THi::Trim(cboUsername->currentText());
        const QString stored = FindUserName(FUserName);
        if (!stored.isEmpty())
            FUserName = stored;
        const QString name = FUserName;
        const QString password = THi::Trim(edtPassword->text());
        if (FDb->UserExists(name)) {
            if (FDb->CheckLogin(name, password)) {
                FDb->ReplaceUser(name, password);
                accepted = true;
            } else {
                m_prompts.message(this, Prompts::Icon::Error, QStringLiteral("错误"),
                                  QStringLiteral("错误：无效的密码。"));
            }
        } else {
            const QString text = QStringLiteral("您想要创建一个新的用户名称和一个新的用户密码吗？\r\n\r\n") +
                                 QStringLiteral("- 用户名称：%1").arg(name) + QStringLiteral("\r\n") +
                                 QStringLiteral("- 用户密码：%1").arg(password);
            if (m_prompts.question(this, QStringLiteral("确认"), text)) {
                FDb->AddUser(name, password);
                accepted = true;
            }
        }
    }
    btnSubmit->setFocus();
    // Otherwise the dialog stays open with the typed texts.
    if (accepted)
        accept();
}

void TfrmLogin::btnCancelClick()
{
    FUserName.clear();
    QDialog::reject();
}

void TfrmLogin::reject()
{
    // Escape and the close box cancel like the cancel button.
    btnCancelClick();
}

LoginResult LoginUser(Prompts& prompts)
{
    LoginResult result;
    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty())
        arguments.removeFirst();
    TfrmLogin dialog(prompts, arguments);
    if (prompts.exec(&dialog) == QDialog::Accepted) {
        result.dbFile = dialog.FDbFile;
        result.userName = dialog.FUserName;
    }
    return result;
}
