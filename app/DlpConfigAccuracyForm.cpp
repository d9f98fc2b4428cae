#include "app/DlpConfigAccuracyForm.h"

#include "slicing/AccuracyCheck.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolTip>
#include <QVBoxLayout>

#include <cmath>

namespace
{

// Forbidden characters of a file name prefix, in the order the tooltip lists them.
const QString kForbidden = QStringLiteral("\\/\":*?<>| ");

bool isPositiveNumber(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && value > 0.0;
}

} // namespace

DlpConfigAccuracyForm::DlpConfigAccuracyForm(QWidget *parent, const QTime &openedAt)
    : QDialog(parent), m_timeStamp(OrvaneDlp::accuracyTimeStamp(openedAt))
{
    setObjectName(QStringLiteral("DlpConfigAccuracyForm"));
    m_cbAccuracy = new QComboBox(this);
    m_cbAccuracy->setObjectName(QStringLiteral("cbAccuracy"));
    m_lePrefix = new QLineEdit(this);
    m_lePrefix->setObjectName(QStringLiteral("lePrefix"));
    m_lbName = new QLabel(this);
    m_lbName->setObjectName(QStringLiteral("lbName"));
    m_lbName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_lbAccuracy = new QLabel(this);
    m_lbPrefix = new QLabel(this);
    m_lbNameTitle = new QLabel(this);
    m_pbOk = new QPushButton(this);
    m_pbOk->setObjectName(QStringLiteral("pbOk"));
    m_pbOk->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(m_lbAccuracy, m_cbAccuracy);
    form->addRow(m_lbPrefix, m_lePrefix);
    form->addRow(m_lbNameTitle, m_lbName);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_pbOk);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    // textEdited, not textChanged: the correction below sets the text again.
    connect(m_lePrefix, &QLineEdit::textEdited, this, &DlpConfigAccuracyForm::onPrefixChange);
    connect(m_cbAccuracy, &QComboBox::currentTextChanged, this,
            &DlpConfigAccuracyForm::onAccuracyChange);
    connect(m_pbOk, &QPushButton::clicked, this, &DlpConfigAccuracyForm::onOK);

    retranslate();
    m_fileName = QStringLiteral("%1%2%3").arg(m_timeStamp, accuracy(), QStringLiteral(".vxpr"));
    showName();
    m_lePrefix->setFocus();
}

void DlpConfigAccuracyForm::setAccuracies(const QStringList &accuracies, bool editable)
{
    {
        const QSignalBlocker blocker(m_cbAccuracy);
        m_cbAccuracy->clear();
        m_cbAccuracy->addItems(accuracies);
        m_cbAccuracy->setCurrentIndex(accuracies.isEmpty() ? -1 : 0);
    }
    m_cbAccuracy->setEnabled(editable);
    // The opening name: stamp, accuracy, ".vxpr" (the prefix is still empty).
    m_fileName = QStringLiteral("%1%2%3").arg(m_timeStamp, accuracy(), QStringLiteral(".vxpr"));
    showName();
}

void DlpConfigAccuracyForm::setTitleKey(const QString &key)
{
    m_titleKey = key;
    retranslate();
}

QString DlpConfigAccuracyForm::accuracy() const
{
    return m_cbAccuracy->currentText();
}

void DlpConfigAccuracyForm::onOK()
{
    // An empty or non-positive thickness (a stray colon in "ui/accuracys") cannot be sliced.
    m_accuracyRejected = !isPositiveNumber(accuracy());
    if (m_accuracyRejected) {
        QToolTip::showText(m_cbAccuracy->mapToGlobal(QPoint(0, m_cbAccuracy->height())),
                           tr("invalidAccuracy"), m_cbAccuracy);
        return;
    }
    QSettings settings;
    settings.setValue(QStringLiteral("slicer/vxprName"), m_fileName);
    settings.setValue(QStringLiteral("slicer/layerThickness"), accuracy());
    settings.sync();
    accept();
}

void DlpConfigAccuracyForm::onPrefixChange(QString prefix)
{
    bool rejected = false;
    QString corrected = OrvaneDlp::correctTypedPrefix(prefix, &rejected);
    if (rejected && !corrected.isEmpty() && !OrvaneDlp::isValidNamePrefix(corrected)) {
        // Pasted text: taking off the last character is not enough, take out every forbidden one.
        for (const QChar c : kForbidden)
            corrected.remove(c);
    }
    m_prefixRejected = rejected;
    if (rejected) {
        const int cursor = qMin(m_lePrefix->cursorPosition(), corrected.size());
        m_lePrefix->setText(corrected);
        m_lePrefix->setCursorPosition(cursor);
        QToolTip::showText(m_lePrefix->mapToGlobal(QPoint(0, m_lePrefix->height())),
                           tr("Prohibition of special characters"), m_lePrefix);
    }
    m_fileName = OrvaneDlp::nameAfterPrefixChange(corrected, m_timeStamp, accuracy());
    showName();
}

void DlpConfigAccuracyForm::onAccuracyChange(QString accuracyText)
{
    m_fileName = OrvaneDlp::nameAfterAccuracyChange(m_lePrefix->text(), m_timeStamp, accuracyText);
    showName();
}

void DlpConfigAccuracyForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QDialog::changeEvent(event);
}

void DlpConfigAccuracyForm::showName()
{
    m_lbName->setText(QStringLiteral("%1%2").arg(tr("willfilename"), m_fileName));
}

void DlpConfigAccuracyForm::retranslate()
{
    setWindowTitle(tr(m_titleKey.toUtf8().constData()));
    m_lbAccuracy->setText(tr("LayerThickness:"));
    m_lbPrefix->setText(tr("Prefix"));
    m_lbNameTitle->setText(tr("Name"));
    m_pbOk->setText(tr("OK"));
    showName();
}
