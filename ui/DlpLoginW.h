#pragma once

#include <QByteArray>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// The login window of the hidden "Log in" entry. Nothing consumes a login yet: Login only hides
// the window and emits sLogin with an empty message (the entered account is not read).
class DlpLoginW : public QWidget
{
    Q_OBJECT
  public:
    explicit DlpLoginW(QWidget *parent = nullptr);

    QPushButton *loginButton() const { return m_login; }
    QPushButton *cancelButton() const { return m_cancel; }
    void retranslate();

  signals:
    void sLogin(QByteArray msg);

  public slots:
    void onLogin();
    void onCancel();

  protected:
    void changeEvent(QEvent *event) override;

  private:
    QLabel *m_accountLabel = nullptr;
    QLabel *m_passwdLabel = nullptr;
    QLineEdit *m_account = nullptr;
    QLineEdit *m_passwd = nullptr;
    QPushButton *m_login = nullptr;
    QPushButton *m_cancel = nullptr;
};
