#include "ui/DlpLoginW.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

DlpLoginW::DlpLoginW(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("DlpLoginW"));
    auto *grid = new QGridLayout(this);
    m_accountLabel = new QLabel(this);
    m_passwdLabel = new QLabel(this);
    m_account = new QLineEdit(this);
    m_passwd = new QLineEdit(this);
    m_passwd->setEchoMode(QLineEdit::Password);
    m_login = new QPushButton(this);
    m_login->setObjectName(QStringLiteral("pbLogin"));
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("pbCancel"));
    grid->addWidget(m_accountLabel, 0, 0);
    grid->addWidget(m_account, 0, 1);
    grid->addWidget(m_passwdLabel, 1, 0);
    grid->addWidget(m_passwd, 1, 1);
    grid->addWidget(m_login, 2, 0);
    grid->addWidget(m_cancel, 2, 1);
    connect(m_login, &QPushButton::clicked, this, &DlpLoginW::onLogin);
    connect(m_cancel, &QPushButton::clicked, this, &DlpLoginW::onCancel);
    retranslate();
}

void DlpLoginW::retranslate()
{
    m_accountLabel->setText(tr("Account:"));
    m_passwdLabel->setText(tr("Passwd:"));
    m_login->setText(tr("Login"));
    m_cancel->setText(tr("Cancel"));
}

void DlpLoginW::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void DlpLoginW::onLogin()
{
    hide();
    emit sLogin(QByteArray());
}

void DlpLoginW::onCancel()
{
    hide();
}
