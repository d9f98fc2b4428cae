#include "ui/DlpSettingsDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

DlpSettingsDialog::DlpSettingsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("DlpSettingsDialog"));
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(320, 120);
}
