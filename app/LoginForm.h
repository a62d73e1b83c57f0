#pragma once
// The login dialog: picks the ledger file and the user of the run; a new name creates an account.
#include "app/MainForm.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QLabel;
class Prompts;
class TDbMan;

// The stored spelling of `name` in the name list (one name per line): the first line that equals
// it when trimmed and with A-Z lowered; empty when none does.
QString FindUserNameIn(const QString& userNames, const QString& name);

class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    // Provisions the ledger (with the program's arguments) and lists its users.
    TfrmLogin(Prompts& prompts, const QStringList& arguments, QWidget* parent = nullptr);
    ~TfrmLogin() override;

    QString FDbFile;
    QString FUserName;

    QComboBox* cboUsername = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* btnSubmit = nullptr;
    QPushButton* btnCancel = nullptr;

    void UpdateSubmitButton();
    QString FindUserName(const QString& name);
    void btnSubmitClick();
    void btnCancelClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    Prompts& m_prompts;
    std::unique_ptr<TDbMan> FDb;
};

// Shows the login dialog; the ledger path and the user name, the name empty when cancelled.
LoginResult LoginUser(Prompts& prompts);
